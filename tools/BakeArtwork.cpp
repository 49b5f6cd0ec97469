// Decodes the artwork at build time, so the game starts without decoding anything:
//   quibbix-bake-artwork PIXELS.bin SOURCE.cpp FILE.png...
// PIXELS.bin holds every picture's pixels one after another, each starting on a 64-byte boundary;
// SOURCE.cpp builds that file into the program and indexes it by file name.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "shell/platform/Png.h"

namespace {

constexpr std::size_t kAlignPixels = 16;  // 64 bytes

std::vector<std::uint8_t> ReadFile(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Writes the file only when its contents change, so an unchanged folder rebuilds nothing.
bool WriteIfChanged(const std::filesystem::path& file, const std::string& contents) {
    std::ifstream old(file, std::ios::binary);
    if (old &&
        std::string(std::istreambuf_iterator<char>(old), std::istreambuf_iterator<char>()) == contents) {
        return true;
    }
    old.close();
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << contents;
    return static_cast<bool>(out.flush());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s PIXELS.bin SOURCE.cpp FILE.png...\n", argv[0]);
        return 2;
    }
    const std::filesystem::path pixelsFile = argv[1];
    std::string pixels;
    std::ostringstream entries;
    for (int i = 3; i < argc; ++i) {
        const std::filesystem::path png = argv[i];
        const std::optional<quibbix::Image> image = quibbix::DecodePng(ReadFile(png));
        if (!image) {
            std::fprintf(stderr, "%s: not a readable PNG\n", argv[i]);
            return 1;
        }
        const std::size_t offset = pixels.size() / sizeof(quibbix::Argb);
        pixels.append(reinterpret_cast<const char*>(image->Row(0)),
                      static_cast<std::size_t>(image->Width()) * image->Height() * sizeof(quibbix::Argb));
        pixels.resize((pixels.size() + kAlignPixels * 4 - 1) / (kAlignPixels * 4) * (kAlignPixels * 4), '\0');
        entries << "    {\"" << png.filename().string() << "\", " << image->Width() << ", " << image->Height()
                << ", " << offset << "},\n";
    }

    // The pixels reach the object file past the preprocessor, so a compiler cache would not see them
    // change: their digest in the source does.
    std::uint64_t digest = 0xcbf29ce484222325u;
    for (const char byte : pixels) {
        digest = (digest ^ static_cast<std::uint8_t>(byte)) * 0x100000001b3u;
    }

    std::ostringstream source;
    source << "// Generated from the artwork folder at build time; do not edit.\n"
              "#include \"resources/EmbeddedAssets.h\"\n\n"
              "#include <algorithm>\n#include <iterator>\n\n"
              "// The decoded pixels, read-only, mapped from the executable only as they are shown.\n"
              "asm(\"# pixels \" \""
           << std::hex << digest << std::dec
           << "\" \"\\n.pushsection .rodata\\n.balign 64\\n.local quibbix_artwork_pixels\\n\"\n"
              "    \"quibbix_artwork_pixels:\\n.incbin \\\""
           << std::filesystem::absolute(pixelsFile).string()
           << "\\\"\\n.popsection\\n\");\n"
              "extern \"C\" const quibbix::Argb quibbix_artwork_pixels[];\n\n"
              "namespace quibbix {\n\nnamespace {\n\n"
              "struct Entry {\n    std::string_view name;\n    int width;\n    int height;\n"
              "    std::size_t offset;\n};\n\n"
              "const Entry kEntries[] = {\n"
           << entries.str()
           << "};\n\n}  // namespace\n\n"
              "std::optional<EmbeddedPicture> EmbeddedArtwork(std::string_view fileName) {\n"
              "    const auto found = std::find_if(std::begin(kEntries), std::end(kEntries),\n"
              "                                    [fileName](const Entry& entry) { return entry.name == "
              "fileName; });\n"
              "    if (found == std::end(kEntries)) {\n        return std::nullopt;\n    }\n"
              "    const std::size_t count = static_cast<std::size_t>(found->width) * found->height;\n"
              "    return EmbeddedPicture{found->width, found->height, {quibbix_artwork_pixels + "
              "found->offset, count}};\n"
              "}\n\n}  // namespace quibbix\n";

    if (!WriteIfChanged(pixelsFile, pixels) || !WriteIfChanged(argv[2], source.str())) {
        std::fprintf(stderr, "cannot write the baked artwork\n");
        return 1;
    }
    return 0;
}
