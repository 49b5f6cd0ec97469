// Decodes the artwork at build time, so the game starts without decoding anything:
//   quibbix-bake-artwork PIXELS.bin SOURCE.cpp FILE.png...
// PIXELS.bin holds every picture's pixels one after another, each starting on a 64-byte boundary;
// SOURCE.cpp builds that file into the program and indexes it by file name. A picture whose rows
// repeat keeps each distinct row once, with a table of where every row starts: the background is
// a few hundred copies of a handful of rows, and the first frame reads all of it.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
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

// A picture's rows as they are stored: each distinct row once, in the order they first appear,
// and where every row of the picture starts among them.
struct StoredRows {
    std::string pixels;
    std::vector<std::uint32_t> starts;
};

StoredRows DistinctRows(const quibbix::Image& image) {
    StoredRows stored;
    std::map<std::string, std::uint32_t> seen;
    const std::size_t rowBytes = static_cast<std::size_t>(image.Width()) * sizeof(quibbix::Argb);
    for (int y = 0; y < image.Height(); ++y) {
        std::string row(reinterpret_cast<const char*>(image.Row(y)), rowBytes);
        const auto start = static_cast<std::uint32_t>(stored.pixels.size() / sizeof(quibbix::Argb));
        const auto [found, added] = seen.try_emplace(std::move(row), start);
        if (added) {
            stored.pixels += found->first;
        }
        stored.starts.push_back(found->second);
    }
    return stored;
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
    std::vector<std::uint32_t> rowStarts;
    for (int i = 3; i < argc; ++i) {
        const std::filesystem::path png = argv[i];
        const std::optional<quibbix::Image> image = quibbix::DecodePng(ReadFile(png));
        if (!image) {
            std::fprintf(stderr, "%s: not a readable PNG\n", argv[i]);
            return 1;
        }
        const std::size_t offset = pixels.size() / sizeof(quibbix::Argb);
        StoredRows stored = DistinctRows(*image);
        const std::size_t savedPixels = static_cast<std::size_t>(image->Width()) * image->Height() -
                                        stored.pixels.size() / sizeof(quibbix::Argb);
        // The table costs one word a row: worth it only when the shared rows save more than that.
        const bool shareRows = savedPixels > static_cast<std::size_t>(image->Height());
        std::string rowTable = "kPackedRows";
        if (shareRows) {
            rowTable = std::to_string(rowStarts.size());
            rowStarts.insert(rowStarts.end(), stored.starts.begin(), stored.starts.end());
        } else {
            stored.pixels.clear();
            for (int y = 0; y < image->Height(); ++y) {
                stored.pixels.append(reinterpret_cast<const char*>(image->Row(y)),
                                     static_cast<std::size_t>(image->Width()) * sizeof(quibbix::Argb));
            }
        }
        pixels += stored.pixels;
        pixels.resize((pixels.size() + kAlignPixels * 4 - 1) / (kAlignPixels * 4) * (kAlignPixels * 4), '\0');
        entries << "    {\"" << png.filename().string() << "\", " << image->Width() << ", " << image->Height()
                << ", " << offset << ", " << stored.pixels.size() / sizeof(quibbix::Argb) << ", " << rowTable
                << "},\n";
    }

    std::ostringstream table;
    for (std::size_t i = 0; i < rowStarts.size(); ++i) {
        table << (i % 12 == 0 ? "\n    " : " ") << rowStarts[i] << ",";
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
              "#include <algorithm>\n#include <array>\n#include <cstdint>\n#include <iterator>\n\n"
              "// The decoded pixels, read-only, mapped from the executable only as they are shown.\n"
              "// WebAssembly's assembler wants a data section of the symbol's own, and the symbol's size.\n"
              "#if defined(__wasm__)\n"
              "asm(\"# pixels \" \""
           << std::hex << digest << std::dec
           << "\" \"\\n.section .rodata.quibbix_artwork_pixels,\\\"\\\",@\\n.p2align 6\\n\"\n"
              "    \"quibbix_artwork_pixels:\\n.incbin \\\""
           << std::filesystem::absolute(pixelsFile).string() << "\\\"\\n.size quibbix_artwork_pixels, "
           << pixels.size()
           << "\\n\");\n"
              "#else\n"
              "asm(\"# pixels \" \""
           << std::hex << digest << std::dec
           << "\" \"\\n.pushsection .rodata\\n.balign 64\\n.local quibbix_artwork_pixels\\n\"\n"
              "    \"quibbix_artwork_pixels:\\n.incbin \\\""
           << std::filesystem::absolute(pixelsFile).string()
           << "\\\"\\n.popsection\\n\");\n"
              "#endif\n"
              "extern \"C\" const quibbix::Argb quibbix_artwork_pixels[];\n\n"
              "namespace quibbix {\n\nnamespace {\n\n"
              "// Where the rows of pictures that share repeated rows start, in pixels from their first.\n"
              "const std::array<std::uint32_t, "
           << rowStarts.size() << "> kRowStarts{{" << table.str()
           << "\n}};\n\n"
              "constexpr std::size_t kPackedRows = SIZE_MAX;\n\n"
              "struct Entry {\n    std::string_view name;\n    int width;\n    int height;\n"
              "    std::size_t offset;\n    std::size_t count;\n"
              "    std::size_t rowStarts;  // its first row's start in kRowStarts, or kPackedRows\n"
              "};\n\n"
              "const Entry kEntries[] = {\n"
           << entries.str()
           << "};\n\n}  // namespace\n\n"
              "std::optional<EmbeddedPicture> EmbeddedArtwork(std::string_view fileName) {\n"
              "    const auto found = std::find_if(std::begin(kEntries), std::end(kEntries),\n"
              "                                    [fileName](const Entry& entry) { return entry.name == "
              "fileName; });\n"
              "    if (found == std::end(kEntries)) {\n        return std::nullopt;\n    }\n"
              "    const std::span<const std::uint32_t> rowStarts =\n"
              "        found->rowStarts == kPackedRows\n"
              "            ? std::span<const std::uint32_t>{}\n"
              "            : std::span<const std::uint32_t>(kRowStarts).subspan(found->rowStarts, "
              "static_cast<std::size_t>(found->height));\n"
              "    const auto* const first = quibbix_artwork_pixels + found->offset;\n"
              "    const std::span<const Argb> pixels(first, found->count);\n"
              "    return EmbeddedPicture{found->width, found->height, pixels, rowStarts};\n"
              "}\n\n}  // namespace quibbix\n";

    if (!WriteIfChanged(pixelsFile, pixels) || !WriteIfChanged(argv[2], source.str())) {
        std::fprintf(stderr, "cannot write the baked artwork\n");
        return 1;
    }
    return 0;
}
