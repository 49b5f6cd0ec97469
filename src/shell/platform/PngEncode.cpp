#include <algorithm>
#include <array>
#include <cstddef>
#include <fstream>
#include <span>
#include <string_view>

#include "shell/platform/Png.h"

// PNGs written by the game's own few lines rather than a library: the same bytes from the same
// pixels on every platform, the browser build included. The pixels are stored, not compressed.
namespace quibbix {

namespace {

constexpr std::size_t kLargestStoredBlock = 65535;

std::uint32_t Crc32(const std::uint8_t* data, std::size_t size) {
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> entries{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k) {
                c = (c & 1) != 0 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            }
            entries[n] = c;
        }
        return entries;
    }();
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < size; ++i) {
        crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    }
    return crc ^ 0xFFFFFFFFu;
}

void PutBigEndian(std::vector<std::uint8_t>& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        out.push_back(static_cast<std::uint8_t>(value >> shift));
    }
}

void PutChunk(std::vector<std::uint8_t>& out, std::string_view type, const std::vector<std::uint8_t>& data) {
    PutBigEndian(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t start = out.size();
    out.insert(out.end(), type.begin(), type.end());
    out.insert(out.end(), data.begin(), data.end());
    PutBigEndian(out, Crc32(out.data() + start, out.size() - start));
}

// The rows, each after its filter byte (none), as a zlib stream of stored blocks.
std::vector<std::uint8_t> StoredRows(const Image& image) {
    std::vector<std::uint8_t> raw;
    raw.reserve((static_cast<std::size_t>(image.Width()) * 4 + 1) * image.Height());
    for (int y = 0; y < image.Height(); ++y) {
        raw.push_back(0);
        for (const Argb pixel : std::span(image.Row(y), static_cast<std::size_t>(image.Width()))) {
            for (const int shift : {16, 8, 0, 24}) {
                raw.push_back(static_cast<std::uint8_t>(pixel >> shift));
            }
        }
    }
    std::vector<std::uint8_t> out{0x78, 0x01};
    std::size_t done = 0;
    do {
        const std::size_t size = std::min(kLargestStoredBlock, raw.size() - done);
        const bool last = done + size == raw.size();
        out.push_back(last ? 1 : 0);
        for (const std::uint16_t length :
             {static_cast<std::uint16_t>(size), static_cast<std::uint16_t>(~size)}) {
            out.push_back(static_cast<std::uint8_t>(length));
            out.push_back(static_cast<std::uint8_t>(length >> 8));
        }
        out.insert(out.end(), raw.begin() + static_cast<std::ptrdiff_t>(done),
                   raw.begin() + static_cast<std::ptrdiff_t>(done + size));
        done += size;
    } while (done < raw.size());
    std::uint32_t a = 1;
    std::uint32_t b = 0;
    for (const std::uint8_t byte : raw) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    PutBigEndian(out, (b << 16) | a);
    return out;
}

}  // namespace

std::vector<std::uint8_t> EncodePng(const Image& image) {
    std::vector<std::uint8_t> out{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<std::uint8_t> header;
    PutBigEndian(header, static_cast<std::uint32_t>(image.Width()));
    PutBigEndian(header, static_cast<std::uint32_t>(image.Height()));
    header.insert(header.end(), {8, 6, 0, 0, 0});  // 8 bits, RGBA, deflate, no filter, no interlace
    PutChunk(out, "IHDR", header);
    PutChunk(out, "IDAT", StoredRows(image));
    PutChunk(out, "IEND", {});
    return out;
}

bool WritePng(const std::filesystem::path& file, const Image& image) {
    const std::vector<std::uint8_t> bytes = EncodePng(image);
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out.flush());
}

}  // namespace quibbix
