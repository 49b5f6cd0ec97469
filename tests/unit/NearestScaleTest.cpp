#include <gtest/gtest.h>

#include <vector>

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
        {{3, 5, 4, 1}, {50, 40}, {0, 0, 13, 9}},
        // Cut at every edge: the frame is larger than the screen and not aligned with it.
        {{3, -4, -5, 1}, {30, 20}, {0, 0, 13, 9}},
        {{4, -3, 2, 1}, {17, 11}, {1, 1, 12, 8}},
        {{1, -2, -1, 1}, {10, 6}, {0, 0, 13, 9}},
    };
    for (const Case& c : cases) {
        std::vector<Argb> pixels(static_cast<std::size_t>(c.size.width) * c.size.height, 0);
        const RectPx drawn = ScaleNearest(frame, c.area, c.view, {pixels.data(), std::size_t(c.size.width), c.size});
        EXPECT_EQ(pixels, Expected(frame, c.view, c.size, c.area, 0)) << "zoom " << c.view.zoom << " at "
                                                                      << c.view.left << "," << c.view.top;
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

}  // namespace
}  // namespace quibbix
