#include <gtest/gtest.h>

#include <vector>

#include "shell/platform/FrameChanges.h"
#include "shell/platform/NearestScale.h"

namespace quibbix {
namespace {

// A frame whose every pixel differs from its neighbours.
Image Numbered(int width, int height) {
    Image image(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            image.At(x, y) = 0xFF000000u | static_cast<Argb>(y * 1000 + x);
        }
    }
    return image;
}

// Each target pixel, looked up one at a time: what the fast path must reproduce.
std::vector<Argb> Expected(const Image& frame, const Viewport& view, SizePx size, RectPx area, Argb blank) {
    std::vector<Argb> pixels(static_cast<std::size_t>(size.width) * size.height, blank);
    for (int y = 0; y < size.height; ++y) {
        for (int x = 0; x < size.width; ++x) {
            const PointPx at = view.ToFrame(x, y);
            if (area.Contains(at.x, at.y) && frame.Bounds().Contains(at.x, at.y)) {
                pixels[static_cast<std::size_t>(y) * size.width + x] = frame.At(at.x, at.y);
            }
        }
    }
    return pixels;
}

TEST(NearestScaleTest, EveryTargetPixelShowsTheFramePixelUnderIt) {
    const Image frame = Numbered(13, 9);
    struct Case {
        Viewport view;
        SizePx size;
        RectPx area;
    };
    const Case cases[] = {
        {{1, 0, 0, 1}, {13, 9}, {0, 0, 13, 9}},
        {{2, 0, 0, 1}, {26, 18}, {3, 2, 7, 5}},
        // Rows of whole vectors at zoom 2, from an aligned and from a half-aligned start.
        {{2, 0, 0, 1}, {32, 20}, {0, 0, 13, 9}},
        {{2, 0, 0, 1}, {32, 20}, {1, 1, 12, 8}},
        {{2, 2, 1, 1}, {32, 20}, {0, 0, 13, 9}},
        {{2, 1, 0, 1}, {32, 20}, {0, 0, 13, 9}},
        {{3, 5, 4, 1}, {50, 40}, {0, 0, 13, 9}},
        // Cut at every edge: the frame is larger than the screen and not aligned with it.
        {{3, -4, -5, 1}, {30, 20}, {0, 0, 13, 9}},
        {{4, -3, 2, 1}, {17, 11}, {1, 1, 12, 8}},
        {{1, -2, -1, 1}, {10, 6}, {0, 0, 13, 9}},
    };
    for (const Case& c : cases) {
        std::vector<Argb> pixels(static_cast<std::size_t>(c.size.width) * c.size.height, 0);
        const RectPx drawn =
            ScaleNearest(frame, c.area, c.view, {pixels.data(), std::size_t(c.size.width), c.size});
        EXPECT_EQ(pixels, Expected(frame, c.view, c.size, c.area, 0))
            << "zoom " << c.view.zoom << " at " << c.view.left << "," << c.view.top;
        EXPECT_EQ(drawn, Intersect(c.view.ToScreen(c.area), {0, 0, c.size.width, c.size.height}));
    }
}

TEST(NearestScaleTest, NothingOutsideTheTargetIsTouched) {
    const Image frame = Numbered(4, 4);
    // A target of 8 x 8 inside rows of 10: the last two pixels of each row are not the target's.
    std::vector<Argb> pixels(10 * 8, 0xDEADBEEFu);
    ScaleNearest(frame, frame.Bounds(), {3, -1, -1, 1}, {pixels.data(), 10, {8, 8}});
    for (int y = 0; y < 8; ++y) {
        EXPECT_EQ(pixels[y * 10 + 8], 0xDEADBEEFu);
        EXPECT_EQ(pixels[y * 10 + 9], 0xDEADBEEFu);
        EXPECT_EQ(pixels[y * 10 + 0], frame.At(0, y == 0 || y == 1 ? 0 : (y + 1) / 3));
    }
}

// Only what differs is copied and reported, in bands of rows as narrow as their changes.
TEST(FrameChangesTest, BandsCoverExactlyTheChangedPixels) {
    const Image before = Numbered(20, 12);
    Image next = before;
    next.At(3, 2) = 1;
    next.At(9, 3) = 2;  // rows 2 and 3 form one band, from column 3 to 9
    next.At(15, 7) = 3;
    next.At(0, 11) = 4;  // outside the area asked about
    Image shown = before;
    const std::vector<RectPx> bands = TakeChanges(next, shown, {0, 0, 20, 10});
    EXPECT_EQ(bands, (std::vector<RectPx>{{3, 2, 10, 4}, {15, 7, 16, 8}}));
    EXPECT_EQ(shown.At(3, 2), 1u);
    EXPECT_EQ(shown.At(9, 3), 2u);
    EXPECT_EQ(shown.At(15, 7), 3u);
    EXPECT_EQ(shown.At(0, 11), before.At(0, 11));
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
