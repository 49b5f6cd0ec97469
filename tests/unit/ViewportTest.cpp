#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "shell/platform/DesktopScale.h"
#include "shell/platform/Viewport.h"

namespace quibbix {
namespace {

constexpr SizePx kFrame{654, 472};

TEST(ViewportTest, PointerMapsThroughZoomAndCentringOntoTheSameFramePixel) {
    const Viewport plain;
    EXPECT_EQ(plain.ToFrame(523, 286), (PointPx{523, 286}));

    const Viewport doubled{2, 0, 0, 1};
    // Both screen pixels of frame pixel 523 map back to it, and START's pixel is START's pixel.
    EXPECT_EQ(doubled.ToFrame(1046, 572), (PointPx{523, 286}));
    EXPECT_EQ(doubled.ToFrame(1047, 573), (PointPx{523, 286}));
    EXPECT_EQ(doubled.ToFrame(1045, 571), (PointPx{522, 285}));

    // Full screen at 3840 x 2160: zoom 4, frame 2616 x 1888 from (612, 136).
    const Viewport full = FullScreenViewport(kFrame, {3840, 2160});
    EXPECT_EQ(full, (Viewport{4, 612, 136, 1}));
    EXPECT_EQ(full.ToFrame(612, 136), (PointPx{0, 0}));
    EXPECT_EQ(full.ToFrame(612 + 523 * 4 + 3, 136 + 286 * 4), (PointPx{523, 286}));
    // The black border lies outside the frame, left and above included.
    EXPECT_EQ(full.ToFrame(611, 135), (PointPx{-1, -1}));
    EXPECT_EQ(full.ToFrame(0, 0), (PointPx{-153, -34}));
    EXPECT_EQ(full.ToFrame(612 + 2616, 136 + 1888), (PointPx{654, 472}));
    EXPECT_EQ(full.ToScreen({468, 274, 578, 298}), (RectPx{612 + 1872, 136 + 1096, 612 + 2312, 136 + 1192}));

    // A window system that counts in units of two screen pixels, the frame at zoom 2: one to one.
    const Viewport hidpi{2, 0, 0, 2};
    EXPECT_EQ(hidpi.ToFrame(523, 286), (PointPx{523, 286}));
    const Viewport hidpiTriple{3, 0, 0, 2};
    EXPECT_EQ(hidpiTriple.ToFrame(3, 3), (PointPx{2, 2}));
}

TEST(ViewportTest, LargestZoomFitsBothSidesAndNeverFallsBelowOne) {
    EXPECT_EQ(LargestZoom(kFrame, {1024, 768}), 1);
    EXPECT_EQ(LargestZoom(kFrame, {1308, 944}), 2);
    EXPECT_EQ(LargestZoom(kFrame, {1307, 2000}), 1);
    EXPECT_EQ(LargestZoom(kFrame, {3840, 2160}), 4);
    EXPECT_EQ(LargestZoom(kFrame, {3840, 2100}), 4);
    EXPECT_EQ(LargestZoom(kFrame, {3840, 1887}), 3);
    EXPECT_EQ(LargestZoom(kFrame, {640, 480}), 1);
    // Centred on a screen smaller than the frame, the frame is cut evenly.
    EXPECT_EQ(FullScreenViewport(kFrame, {640, 480}), (Viewport{1, -7, 4, 1}));
    EXPECT_EQ(FullScreenViewport(kFrame, {1920, 1080}), (Viewport{2, 306, 68, 1}));
}

// At every output scale the default and the largest zoom count screen pixels, and the window's
// contents, whatever size the window system rounds them to, are all frame: the last unit of the
// window is the frame's last pixel, and there is no band.
TEST(ViewportTest, EveryOutputScaleFillsTheWindowAndZoomsWithinTheOutput) {
    struct Row {
        double scale;
        SizePx usable;  // in the window system's units
        int desktopZoom;
        int largestZoom;
        SizePx window;  // at the desktop zoom
    };
    for (const Row& row : {Row{1, {1280, 1000}, 1, 1, {654, 472}}, Row{1, {1920, 1200}, 1, 2, {654, 472}},
                           Row{1.25, {1280, 1000}, 1, 2, {523, 378}},
                           Row{1.5, {1280, 1000}, 2, 2, {872, 629}}, Row{1.5, {1920, 1200}, 2, 3, {872, 629}},
                           Row{1.75, {1280, 1000}, 2, 3, {747, 539}}, Row{2, {1280, 1000}, 2, 3, {654, 472}},
                           Row{3, {1280, 1000}, 3, 5, {654, 472}}, Row{3, {600, 400}, 2, 2, {436, 315}}}) {
        SCOPED_TRACE(row.scale);
        const SizePx usable{static_cast<int>(row.usable.width * row.scale),
                            static_cast<int>(row.usable.height * row.scale)};
        EXPECT_EQ(LargestZoom(kFrame, usable), row.largestZoom);
        const int zoom = DesktopZoom(row.scale, kFrame, usable);
        EXPECT_EQ(zoom, row.desktopZoom);
        const SizePx window = WindowSize(kFrame, zoom, row.scale);
        EXPECT_EQ(window, row.window);
        const SizePx output{static_cast<int>(std::lround(window.width * row.scale)),
                            static_cast<int>(std::lround(window.height * row.scale))};
        const Viewport view = WindowViewport(kFrame, zoom, output, window);
        EXPECT_EQ(view.ToScreen({0, 0, kFrame.width, kFrame.height}),
                  (RectPx{0, 0, output.width, output.height}));
        EXPECT_EQ(view.ToFrame(0, 0), (PointPx{0, 0}));
        EXPECT_EQ(view.ToFrame(window.width - 1, window.height - 1), (PointPx{653, 471}));
        EXPECT_EQ(view.ToFrame(window.width, window.height), (PointPx{654, 472}));
    }
    // A scale no screen has is read as 1, and a huge one stays within the usable area.
    EXPECT_EQ(DesktopZoom(std::nan(""), kFrame, {3840, 2160}), 1);
    EXPECT_EQ(DesktopZoom(-2, kFrame, {3840, 2160}), 1);
    EXPECT_EQ(DesktopZoom(1e300, kFrame, {3840, 2160}), 4);
    EXPECT_EQ(WindowSize(kFrame, 1, std::numeric_limits<double>::infinity()), (SizePx{654, 472}));
}

TEST(ViewportTest, DesktopScaleFromGdkScaleOrXftDpi) {
    EXPECT_EQ(DesktopScale(std::nullopt, std::nullopt), 1);
    EXPECT_EQ(DesktopScale(std::nullopt, "Xft.dpi:\t192\n"), 2);
    EXPECT_EQ(DesktopScale(std::nullopt, "Xft.antialias:\t1\nXft.dpi:\t144\nXft.hinting:\t1\n"), 1);
    EXPECT_EQ(DesktopScale(std::nullopt, "Xft.dpi: 287.9"), 2);
    EXPECT_EQ(DesktopScale(std::nullopt, "Xft.dpi:\t288"), 3);
    EXPECT_EQ(DesktopScale(std::nullopt, "Xft.dpi:\t72\n"), 1);
    EXPECT_EQ(DesktopScale(std::nullopt, "*dpi: 192\nXft.dpix: 192\n"), 1);
    EXPECT_EQ(DesktopScale(std::nullopt, "Xft.dpi: lots\n"), 1);
    // Values no screen has neither overflow nor count.
    EXPECT_EQ(DesktopScale(std::nullopt, "Xft.dpi: 1e12\n"), 64);
    EXPECT_EQ(DesktopScale(std::nullopt, "Xft.dpi: 1e300\n"), 64);
    for (const char* nonsense : {"Xft.dpi: nan\n", "Xft.dpi: inf\n", "Xft.dpi: -192\n", "Xft.dpi: 1e999\n"}) {
        EXPECT_EQ(DesktopScale(std::nullopt, nonsense), 1) << nonsense;
    }
    // GDK_SCALE wins when it is a whole number of at least one; otherwise it is ignored.
    EXPECT_EQ(DesktopScale("3", "Xft.dpi:\t192\n"), 3);
    EXPECT_EQ(DesktopScale("1", "Xft.dpi:\t192\n"), 1);
    EXPECT_EQ(DesktopScale("0", "Xft.dpi:\t192\n"), 2);
    EXPECT_EQ(DesktopScale("1.5", "Xft.dpi:\t192\n"), 2);
    EXPECT_EQ(DesktopScale("1e300", "Xft.dpi:\t192\n"), 2);
    EXPECT_EQ(DesktopScale("-3", std::nullopt), 1);
    EXPECT_EQ(DesktopScale("99999999999", std::nullopt), 1);
    EXPECT_EQ(DesktopScale("", std::nullopt), 1);
}

}  // namespace
}  // namespace quibbix
