// Every raster operation on every way of holding pixels, against one reference written pixel by
// pixel; the built-in artwork against its files; and what a frame reports as changed.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <vector>

#include "resources/EmbeddedAssets.h"
#include "resources/EmbeddedPicture.h"
#include "shell/platform/FrameChanges.h"
#include "shell/platform/NearestScale.h"
#include "shell/platform/Png.h"
#include "shell/platform/RasterOp.h"

namespace quibbix {
namespace {

// Random pixels, transparent ones too, whose rows repeat and are kept once, as the artwork keeps them.
struct Picture {
    Picture(std::mt19937& random, int width, int height) : width(width), height(height) {
        pixels.resize(static_cast<std::size_t>(width) * (height / 2 + 1));
        for (Argb& pixel : pixels) {
            pixel = static_cast<Argb>(random());
        }
        for (int y = 0; y < height; ++y) {
            starts.push_back(static_cast<std::uint32_t>(random() % (height / 2 + 1) * width));
        }
    }
    Image Shared() const { return Image::ReadOnlyArtwork(width, height, pixels, starts); }
    Image Owned() const {
        Image image(width, height);
        for (int y = 0; y < height; ++y) {
            std::copy_n(pixels.begin() + starts[y], width, image.Row(y));
        }
        return image;
    }
    int width;
    int height;
    std::vector<Argb> pixels;
    std::vector<std::uint32_t> starts;
};

// The reference: a rectangle copy one pixel at a time, each pixel clipped to both images.
void Reference(Image& target, int x, int y, int width, int height, const Image& source, int sx, int sy,
               RasterOp op) {
    for (int j = 0; j < height; ++j) {
        for (int i = 0; i < width; ++i) {
            if (target.Bounds().Contains(x + i, y + j) && source.Bounds().Contains(sx + i, sy + j)) {
                Argb& to = target.At(x + i, y + j);
                const Argb from = source.At(sx + i, sy + j);
                to = op == RasterOp::SrcCopy  ? from | kOpaqueBlack
                     : op == RasterOp::SrcAnd ? to & from
                                              : to | from;
            }
        }
    }
}

TEST(ImageTest, EveryRasterOperationOnEveryWayOfHoldingPixelsEqualsTheReference) {
    std::mt19937 random(2026);
    const auto pick = [&random](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random);
    };
    const Picture art(random, 300, 40);
    const Image owned = art.Owned();
    const Image shared = art.Shared();
    for (int y = 0; y < art.height; ++y) {
        ASSERT_EQ(shared.Row(y), art.pixels.data() + art.starts[y]) << "artwork is read in place";
    }
    const Image copy = shared;  // NOLINT(performance-unnecessary-copy-initialization)
    EXPECT_EQ(copy.Row(art.height - 1), shared.Row(art.height - 1)) << "a copy of artwork reads the same";
    EXPECT_EQ(EncodePng(shared), EncodePng(owned)) << "a written picture is the same file";
    EXPECT_EQ(Image::ReadOnlyArtwork(300, 40, std::span(art.pixels).first(299), art.starts).Width(), 0);
    EXPECT_EQ(Image::ReadOnlyArtwork(300, 41, art.pixels, art.starts).Width(), 0) << "a row without a start";
    EXPECT_EQ(Image::ReadOnlyArtwork(300, 41, std::span(owned.Row(0), 300 * 40)).Width(), 0);
    const Image sources[] = {shared, Image::ReadOnlyArtwork(300, 40, std::span(owned.Row(0), 300 * 40)),
                             owned, shared.OwnedCopy()};

    for (int trial = 0; trial < 600; ++trial) {
        // A window of 257 x 30 with wide rows for the stores past the cache and the long fills.
        const Picture before(random, 257, 30);
        const Image start = before.Owned();
        Image expected = start;
        const int x = pick(-40, 280);
        const int y = pick(-12, 36);
        const int width = trial % 7 == 0 ? 32 : pick(0, 300);
        const int height = pick(0, 34);
        const int sx = pick(-8, 60);
        const int sy = pick(-8, 12);
        const auto op = std::array{RasterOp::SrcCopy, RasterOp::SrcAnd, RasterOp::SrcPaint}[trial % 3];
        const RectPx rect = trial % 8 == 0 ? RectPx{-pick(0, 2), y, 257 + pick(0, 2), y + height / 4}
                                           : RectPx{x, y, x + width, y + height / 4};
        const Argb colour = static_cast<Argb>(random());
        const Viewport view{pick(1, 4), pick(-30, 30), pick(-20, 10), 1};
        const RectPx area{pick(0, 150), pick(0, 20), pick(150, 300), pick(20, 40)};
        const SizePx size{pick(200, 257), 30};  // window memory narrower than its rows
        const int kind = trial % 4;
        if (kind == 0) {  // a fill, whole rows now and then
            for (int j = 0; j < 30; ++j) {
                for (int i = 0; i < 257; ++i) {
                    expected.At(i, j) = rect.Contains(i, j) ? colour : expected.At(i, j);
                }
            }
        } else if (kind == 1) {
            Reference(expected, x, y, width, height, owned, sx, sy, op);
        } else if (kind == 2) {  // a sprite through its mask, where the target, mask and sprite all are
            for (int j = 0; j < height / 2; ++j) {
                for (int i = 0; i < width; ++i) {
                    if (expected.Bounds().Contains(x + i, y + j) &&
                        owned.Bounds().Contains(sx + i, 20 + sy + j) &&
                        owned.Bounds().Contains(sy + i, sx + j)) {
                        Argb& to = expected.At(x + i, y + j);
                        to = (to & owned.At(sx + i, 20 + sy + j)) | owned.At(sy + i, sx + j);
                    }
                }
            }
        } else {  // the frame scaled through any viewport
            for (int j = 0; j < size.height; ++j) {
                for (int i = 0; i < size.width; ++i) {
                    const PointPx at = view.ToFrame(i, j);
                    if (area.Contains(at.x, at.y)) {
                        expected.At(i, j) = owned.At(at.x, at.y);
                    }
                }
            }
        }
        for (const Image& source : sources) {
            std::vector<Argb> cached(start.Row(0), start.Row(0) + 257 * 30);
            std::vector<Argb> pastCache = cached;
            std::vector<Image> targets;
            targets.push_back(start);
            targets.push_back(before.Shared().OwnedCopy());
            targets.push_back(Image::Borrowed(cached.data(), 257, 30, Image::Stores::Cached));
            targets.push_back(Image::Borrowed(pastCache.data(), 257, 30, Image::Stores::PastCache));
            for (Image& target : targets) {
                if (kind == 0) {
                    target.FillRect(rect, colour);
                } else if (kind == 1) {
                    CopyRect(target, x, y, width, height, source, sx, sy, op);
                } else if (kind == 2) {
                    CopyThroughMask(target, x, y, width, height / 2, source, sx, 20 + sy, sy, sx);
                } else {
                    const RectPx drawn = ScaleNearest(source, area, view, {target.Row(0), 257, size});
                    const RectPx shown = Intersect(view.ToScreen(area), {0, 0, size.width, size.height});
                    ASSERT_EQ(drawn, shown.Empty() ? RectPx{} : shown);
                }
                ASSERT_EQ(target, expected) << "trial " << trial << ", target " << &target - targets.data();
            }
            ASSERT_EQ(cached, pastCache);
        }
        ASSERT_EQ(before.Shared(), before.Owned()) << "the artwork stays as it was";
    }
}

TEST(ImageTest, BorrowedPixelsAreDrawnIntoByMovesAndNotByCopiesAndColourValuesAreBlueGreenRed) {
    std::vector<Argb> memory(16, 5);
    Image borrowed = Image::Borrowed(memory.data(), 4, 4, Image::Stores::PastCache);
    Image copy = borrowed;
    copy.Fill(0);
    EXPECT_EQ(memory[0], 5u);
    Image moved = std::move(borrowed);
    moved.At(0, 0) = 7;
    EXPECT_EQ(memory[0], 7u);
    // Colour values are blue, green, red.
    EXPECT_EQ(ToColorRef(Rgb(0x11, 0x22, 0x33)), 0x332211u);
    EXPECT_EQ(FromColorRef(0x332211u), Rgb(0x11, 0x22, 0x33));
}

TEST(ArtworkTest, EveryBuiltInPictureHoldsThePixelsOfItsFile) {
    int files = 0;
    for (const auto& entry : std::filesystem::directory_iterator(QUIBBIX_ARTWORK)) {
        if (entry.path().extension() == ".png") {
            ++files;
            std::ifstream in(entry.path(), std::ios::binary);
            const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
            const std::optional<Image> decoded = DecodePng(bytes);
            const std::optional<EmbeddedPicture> built = EmbeddedArtwork(entry.path().filename().string());
            ASSERT_TRUE(decoded && built) << entry.path();
            EXPECT_EQ(built->ReadOnlyImage(), *decoded) << entry.path();
        }
    }
    EXPECT_GT(files, 60);
    EXPECT_FALSE(EmbeddedArtwork("missing.png").has_value());
}

// Only what differs is copied and reported, in bands of rows as narrow as their changes.
TEST(FrameChangesTest, BandsCoverExactlyTheChangedPixels) {
    const Image before(20, 12, 0xFF000000u);
    Image next = before;
    next.At(3, 2) = 1;
    next.At(9, 3) = 2;  // rows 2 and 3 form one band, from column 3 to 9
    next.At(15, 7) = 3;
    next.At(0, 11) = 4;  // outside the area asked about
    Image shown = before;
    EXPECT_EQ(TakeChanges(next, shown, {0, 0, 20, 10}), (std::vector<RectPx>{{3, 2, 10, 4}, {15, 7, 16, 8}}));
    next.At(0, 11) = before.At(0, 11);
    EXPECT_EQ(shown, next);
    EXPECT_TRUE(TakeChanges(next, shown, {0, 0, 20, 10}).empty()) << "nothing changed since";

    // Every other row changed: too many bands become one rectangle around them.
    Image tall(20, 40);
    Image tallNext = tall;
    for (int y = 0; y < 40; y += 2) {
        tallNext.At(y % 20, y) = 9;
    }
    EXPECT_EQ(TakeChanges(tallNext, tall, tall.Bounds()), (std::vector<RectPx>{{0, 0, 19, 39}}));
    EXPECT_EQ(tall, tallNext);
}

}  // namespace
}  // namespace quibbix
