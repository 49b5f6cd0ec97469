#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "shell/platform/Image.h"
#include "shell/platform/RasterOp.h"

namespace quibbix {
namespace {

TEST(ImageTest, RasterOpsCombineTargetAndSource) {
    Image target(2, 1);
    target.At(0, 0) = Rgb(0xF0, 0x0F, 0xAA);
    target.At(1, 0) = Rgb(0x12, 0x34, 0x56);
    Image source(2, 1);
    source.At(0, 0) = Rgb(0x3C, 0xFF, 0x0F);
    source.At(1, 0) = Rgb(0x00, 0x00, 0x00);

    Image anded = target;
    CopyRect(anded, 0, 0, 2, 1, source, 0, 0, RasterOp::SrcAnd);
    EXPECT_EQ(anded.At(0, 0), Rgb(0x30, 0x0F, 0x0A));
    EXPECT_EQ(anded.At(1, 0), Rgb(0, 0, 0));

    Image ored = target;
    CopyRect(ored, 0, 0, 2, 1, source, 0, 0, RasterOp::SrcPaint);
    EXPECT_EQ(ored.At(0, 0), Rgb(0xFC, 0xFF, 0xAF));
    EXPECT_EQ(ored.At(1, 0), Rgb(0x12, 0x34, 0x56));
}

TEST(ImageTest, MaskThenPaintDrawsOnlyTheShape) {
    // A 2 x 2 sprite over its mask: the top-left pixel is the shape.
    Image sprite(2, 4);
    sprite.At(0, 0) = Rgb(0, 200, 0);
    for (int x = 0; x < 2; ++x) {
        for (int y = 2; y < 4; ++y) {
            sprite.At(x, y) = Rgb(255, 255, 255);
        }
    }
    sprite.At(0, 2) = Rgb(0, 0, 0);
    Image board(2, 2, Rgb(10, 20, 30));

    CopyRect(board, 0, 0, 2, 2, sprite, 0, 2, RasterOp::SrcAnd);
    CopyRect(board, 0, 0, 2, 2, sprite, 0, 0, RasterOp::SrcPaint);

    EXPECT_EQ(board.At(0, 0), Rgb(0, 200, 0));
    EXPECT_EQ(board.At(1, 0), Rgb(10, 20, 30));
    EXPECT_EQ(board.At(1, 1), Rgb(10, 20, 30));
}

TEST(ImageTest, CopiesAreClippedOnEverySide) {
    Image source(4, 4, Rgb(1, 2, 3));
    Image target(4, 4);
    CopyRect(target, -2, -2, 4, 4, source, 0, 0, RasterOp::SrcCopy);
    EXPECT_EQ(target.At(1, 1), Rgb(1, 2, 3));
    EXPECT_EQ(target.At(2, 2), kOpaqueBlack);

    Image right(4, 4);
    CopyRect(right, 3, 3, 4, 4, source, 0, 0, RasterOp::SrcCopy);
    EXPECT_EQ(right.At(3, 3), Rgb(1, 2, 3));
    EXPECT_EQ(right.At(2, 3), kOpaqueBlack);

    // Reading past the source's edge draws nothing there.
    Image partial(4, 4);
    CopyRect(partial, 0, 0, 4, 4, source, 2, 2, RasterOp::SrcCopy);
    EXPECT_EQ(partial.At(1, 1), Rgb(1, 2, 3));
    EXPECT_EQ(partial.At(2, 2), kOpaqueBlack);
}

TEST(ImageTest, ColourValuesAreBlueGreenRed) {
    EXPECT_EQ(ToColorRef(Rgb(0x11, 0x22, 0x33)), 0x332211u);
    EXPECT_EQ(ToColorRef(kOpaqueBlack), 0u);
    EXPECT_EQ(FromColorRef(0x332211u), Rgb(0x11, 0x22, 0x33));
}

TEST(ImageTest, TransparentSourceIsDrawnOpaque) {
    const Image transparent(2, 2, 0x00000000u);
    Image target(2, 2, Rgb(9, 9, 9));
    CopyRect(target, 0, 0, 2, 2, transparent, 0, 0, RasterOp::SrcCopy);
    EXPECT_EQ(target.At(0, 0), kOpaqueBlack);
}

TEST(ImageTest, DrawingThroughTheMaskEqualsMaskingThenPainting) {
    // Random boards and sprites, placed everywhere including past every edge.
    std::mt19937 random(7);
    Image sprite(32, 64);
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 32; ++x) {
            sprite.At(x, y) = random() | kOpaqueBlack;
        }
    }
    for (int trial = 0; trial < 200; ++trial) {
        Image board(60, 50);
        for (int y = 0; y < 50; ++y) {
            for (int x = 0; x < 60; ++x) {
                board.At(x, y) = random() | kOpaqueBlack;
            }
        }
        const int x = static_cast<int>(random() % 100) - 40;
        const int y = static_cast<int>(random() % 90) - 40;
        const int width = trial % 3 == 0 ? 32 : static_cast<int>(random() % 33);
        Image twoPasses = board;
        CopyRect(twoPasses, x, y, width, 32, sprite, 0, 32, RasterOp::SrcAnd);
        CopyRect(twoPasses, x, y, width, 32, sprite, 0, 0, RasterOp::SrcPaint);
        CopyThroughMask(board, x, y, width, 32, sprite, 0, 32, 0, 0);
        ASSERT_EQ(board, twoPasses) << "at " << x << "," << y << " width " << width;
    }
}

TEST(ImageTest, CopiesPastTheCacheIntoBorrowedMemoryEqualPlainCopies) {
    // Window memory gets wide rows past the cache: every start, width and clip must still give the
    // pixels a plain copy gives, and leave the pixels around untouched.
    std::mt19937 random(11);
    Image source(300, 40);
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 300; ++x) {
            source.At(x, y) = static_cast<Argb>(random());  // transparent ones too: copies are opaque
        }
    }
    for (int trial = 0; trial < 300; ++trial) {
        std::vector<Argb> window(static_cast<std::size_t>(257) * 30);
        for (Argb& pixel : window) {
            pixel = static_cast<Argb>(random());
        }
        Image plain(257, 30);
        for (int y = 0; y < 30; ++y) {
            for (int x = 0; x < 257; ++x) {
                plain.At(x, y) = window[static_cast<std::size_t>(y) * 257 + x];
            }
        }
        Image borrowed = Image::Borrowed(window.data(), 257, 30, Image::Stores::PastCache);
        const int x = static_cast<int>(random() % 120) - 20;
        const int y = static_cast<int>(random() % 40) - 10;
        const int width = static_cast<int>(random() % 300);
        const int sx = static_cast<int>(random() % 40);
        CopyRect(plain, x, y, width, 20, source, sx, 3, RasterOp::SrcCopy);
        CopyRect(borrowed, x, y, width, 20, source, sx, 3, RasterOp::SrcCopy);
        ASSERT_EQ(borrowed, plain) << "at " << x << "," << y << " width " << width << " from " << sx;
    }
}

TEST(ImageTest, FillsPaintExactlyTheirRectangle) {
    // Whole rows are filled as one run and long rows by the string store: every shape, short or
    // long, clipped or not, must paint its pixels and no others.
    std::mt19937 random(5);
    const Image before = [&random] {
        Image image(300, 12);
        for (int y = 0; y < 12; ++y) {
            for (int x = 0; x < 300; ++x) {
                image.At(x, y) = static_cast<Argb>(random());
            }
        }
        return image;
    }();
    for (int trial = 0; trial < 400; ++trial) {
        const bool wholeRows = trial % 4 == 0;
        const int left = wholeRows ? -static_cast<int>(random() % 3) : static_cast<int>(random() % 320) - 10;
        const int right =
            wholeRows ? 300 + static_cast<int>(random() % 3) : left + static_cast<int>(random() % 310);
        const int top = static_cast<int>(random() % 16) - 2;
        const RectPx rect{left, top, right, top + static_cast<int>(random() % 10)};
        const Argb colour = static_cast<Argb>(random());
        Image filled = before;
        filled.FillRect(rect, colour);
        for (int y = 0; y < 12; ++y) {
            for (int x = 0; x < 300; ++x) {
                const Argb expected = rect.Contains(x, y) ? colour : before.At(x, y);
                ASSERT_EQ(filled.At(x, y), expected)
                    << "pixel " << x << "," << y << " of fill " << left << "," << top << " to " << rect.right
                    << "," << rect.bottom;
            }
        }
    }
}

}  // namespace
}  // namespace quibbix
