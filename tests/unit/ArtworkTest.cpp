#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "resources/EmbeddedAssets.h"
#include "shell/platform/Png.h"

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
        EXPECT_EQ(Image::Borrowing(built->width, built->height, built->pixels), *decoded) << entry.path();
    }
    EXPECT_GT(files, 60);
    EXPECT_FALSE(EmbeddedArtwork("missing.png").has_value());
}

TEST(ArtworkTest, ABorrowedImageReadsInPlaceUntilItIsChanged) {
    const std::vector<Argb> kept{Rgb(1, 2, 3), Rgb(4, 5, 6), Rgb(7, 8, 9), Rgb(10, 11, 12)};
    const Image borrowed = Image::Borrowing(2, 2, kept);
    EXPECT_EQ(borrowed.Row(1), kept.data() + 2);
    EXPECT_EQ(borrowed.At(1, 1), Rgb(10, 11, 12));

    Image changed = borrowed;
    changed.At(0, 0) = Rgb(99, 99, 99);
    EXPECT_EQ(kept[0], Rgb(1, 2, 3)) << "the borrowed pixels stay as they were";
    EXPECT_EQ(changed.At(0, 0), Rgb(99, 99, 99));
    EXPECT_EQ(changed.At(1, 1), Rgb(10, 11, 12));
    EXPECT_NE(changed, borrowed);
    changed.At(0, 0) = Rgb(1, 2, 3);
    EXPECT_EQ(changed, borrowed) << "images compare by their pixels, wherever they lie";

    EXPECT_EQ(Image::Borrowing(3, 2, kept).Width(), 0) << "too few pixels for the size";
}

}  // namespace
}  // namespace quibbix
