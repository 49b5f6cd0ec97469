#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

#include "resources/EmbeddedAssets.h"
#include "shell/platform/Png.h"
#include "shell/platform/RasterOp.h"

namespace quibbix {
namespace {

// The pixels built into the program are exactly those of the artwork files.
TEST(ArtworkTest, EveryBuiltInPictureHoldsThePixelsOfItsFile) {
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(QUIBBIX_ARTWORK)) {
        if (entry.path().extension() != ".png") {
            continue;
        }
        ++files;
        std::ifstream in(entry.path(), std::ios::binary);
        const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in),
                                              std::istreambuf_iterator<char>()};
        const std::optional<Image> decoded = DecodePng(bytes);
        ASSERT_TRUE(decoded.has_value()) << entry.path();
        const std::optional<EmbeddedPicture> built = EmbeddedArtwork(entry.path().filename().string());
        ASSERT_TRUE(built.has_value()) << entry.path();
        EXPECT_EQ(built->ReadOnlyImage(), *decoded) << entry.path();
    }
    EXPECT_GT(files, 60);
    EXPECT_FALSE(EmbeddedArtwork("missing.png").has_value());
}

TEST(ArtworkTest, ReadOnlyArtworkIsReadInPlaceAndDrawnOnThroughAnOwnedCopy) {
    const std::vector<Argb> kept{Rgb(1, 2, 3), Rgb(4, 5, 6), Rgb(7, 8, 9), Rgb(10, 11, 12)};
    const Image artwork = Image::ReadOnlyArtwork(2, 2, kept);
    EXPECT_EQ(artwork.Row(1), kept.data() + 2);
    EXPECT_EQ(artwork.At(1, 1), Rgb(10, 11, 12));

    Image changed = artwork.OwnedCopy();
    changed.At(0, 0) = Rgb(99, 99, 99);
    EXPECT_EQ(kept[0], Rgb(1, 2, 3)) << "the artwork stays as it was";
    EXPECT_EQ(changed.At(0, 0), Rgb(99, 99, 99));
    EXPECT_EQ(changed.At(1, 1), Rgb(10, 11, 12));
    EXPECT_NE(changed, artwork);
    changed.At(0, 0) = Rgb(1, 2, 3);
    EXPECT_EQ(changed, artwork) << "images compare by their pixels, wherever they lie";

    EXPECT_EQ(Image::ReadOnlyArtwork(3, 2, kept).Width(), 0) << "too few pixels for the size";
}

// Random opaque pixels, as many as asked.
std::vector<Argb> RandomPixels(std::mt19937& random, std::size_t count) {
    std::vector<Argb> pixels(count);
    for (Argb& pixel : pixels) {
        pixel = random() | kOpaqueBlack;
    }
    return pixels;
}

// A picture that keeps each repeated row once must read, copy, compare and encode exactly like the
// same picture with every row of its own, and a change to one row must not reach the rows that
// shared its pixels.
TEST(ArtworkTest, APictureSharingRepeatedRowsActsLikeItsPackedCopy) {
    constexpr int kWidth = 40;
    std::mt19937 random(11);
    const std::vector<Argb> distinct = RandomPixels(random, 3 * kWidth);
    const std::vector<std::uint32_t> starts{0, 0, 40, 0, 80, 80, 80, 40, 0, 80};
    const int height = static_cast<int>(starts.size());
    const Image shared = Image::ReadOnlyArtwork(kWidth, height, distinct, starts);
    Image packed(kWidth, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            packed.At(x, y) = distinct[starts[y] + x];
        }
    }
    ASSERT_FALSE(shared.RowsPacked());
    EXPECT_EQ(shared, packed);
    EXPECT_EQ(shared.At(39, 9), packed.At(39, 9));
    EXPECT_EQ(EncodePng(shared), EncodePng(packed)) << "a written picture is the same file";
    const Image copy = shared;  // NOLINT(performance-unnecessary-copy-initialization)
    EXPECT_EQ(copy.Row(1), copy.Row(0)) << "a copy keeps sharing the rows";

    // Every raster operation and the masked sprite, placed across every edge, with the full width
    // and the ball's 32.
    for (int trial = 0; trial < 150; ++trial) {
        const std::vector<Argb> board = RandomPixels(random, 50 * 30);
        Image fromShared(50, 30);
        for (int y = 0; y < 30; ++y) {
            std::copy_n(board.begin() + y * 50, 50, fromShared.Row(y));
        }
        Image fromPacked = fromShared;
        const int x = static_cast<int>(random() % 70) - 30;
        const int y = static_cast<int>(random() % 40) - 15;
        const int width = trial % 2 == 0 ? 32 : static_cast<int>(random() % 45);
        const int sx = static_cast<int>(random() % 12) - 4;
        const int sy = static_cast<int>(random() % 12) - 4;
        const auto op = std::array{RasterOp::SrcCopy, RasterOp::SrcAnd, RasterOp::SrcPaint}[trial % 3];
        CopyRect(fromShared, x, y, width, 6, shared, sx, sy, op);
        CopyRect(fromPacked, x, y, width, 6, packed, sx, sy, op);
        CopyThroughMask(fromShared, x, y, width, 5, shared, sx, 5, sy, 0);
        CopyThroughMask(fromPacked, x, y, width, 5, packed, sx, 5, sy, 0);
        ASSERT_EQ(fromShared, fromPacked) << "trial " << trial;
    }

    // An owned copy has rows of its own: the row that shared the changed one stays as it was.
    Image changed = shared.OwnedCopy();
    changed.At(7, 0) = Rgb(1, 2, 3);
    Image packedChanged = packed;
    packedChanged.At(7, 0) = Rgb(1, 2, 3);
    EXPECT_TRUE(changed.RowsPacked());
    EXPECT_EQ(changed, packedChanged);
    EXPECT_EQ(changed.At(7, 1), packed.At(7, 1));
    EXPECT_EQ(distinct[7], packed.At(7, 0)) << "the artwork stays as it was";
    Image target(kWidth, height);
    CopyRect(target, 0, 0, kWidth, height, changed, 0, 0, RasterOp::SrcCopy);
    EXPECT_EQ(target, packedChanged);

    EXPECT_EQ(Image::ReadOnlyArtwork(kWidth, height, std::span(distinct).first(2 * kWidth), starts).Width(),
              0)
        << "a row starting past the pixels";
    EXPECT_EQ(Image::ReadOnlyArtwork(kWidth, height + 1, distinct, starts).Width(), 0)
        << "a row without a start";
}

}  // namespace
}  // namespace quibbix
