#include <gtest/gtest.h>

#include "tests/unit/HeadlessGame.h"

namespace quibbix {
namespace {

// The ball sprites share one outline: the mask half is black inside the shape and white outside,
// the ball half black outside, so painting it leaves the board alone. The shape list holds the
// mask's black pixels in column order.
TEST(StartUpTest, TheBallSpritesShareOneOutlineAndTheShapeListFollowsIt) {
    HeadlessGame game;
    const FrmMain& form = game.form;
    int pixel = 0;
    for (int x = 0; x < 32; ++x) {
        for (int y = 0; y < 32; ++y) {
            const Argb mask = form.pctBall[0].Picture()->Image().At(x, y + 32) & 0xFFFFFFu;
            ASSERT_TRUE(mask == 0 || mask == 0xFFFFFFu);
            for (int type = 0; type < 3; ++type) {
                const Image& sprite = form.pctBall[type].Picture()->Image();
                ASSERT_EQ(sprite.Width() * 100 + sprite.Height(), 3264);
                ASSERT_EQ(sprite.At(x, y + 32) & 0xFFFFFFu, mask);
                ASSERT_TRUE(mask == 0 || (sprite.At(x, y) & 0xFFFFFFu) == 0)
                    << type << " at " << x << "," << y;
            }
            if (mask == 0) {
                ASSERT_LT(pixel, form.MaskCount);
                EXPECT_EQ(form.MaskX[pixel] * 100 + form.MaskY[pixel], x * 100 + y);
                ++pixel;
            }
        }
    }
    EXPECT_EQ(form.MaskCount, pixel);
    EXPECT_GT(form.MaskCount, 600);  // a disc nearly filling its cell
}

TEST(StartUpTest, EveryRunDealsItsOwnValuesBelowOne) {
    HeadlessPlatform first("", "/opt/quibbix");
    HeadlessPlatform second("", "/opt/quibbix");
    first.Rng().Randomize();
    second.Rng().Randomize();
    bool differ = false;
    for (int i = 0; i < 8 && !differ; ++i) {
        differ = first.Rng().Next() != second.Rng().Next();
    }
    EXPECT_TRUE(differ) << "two clock seeds a moment apart deal the same sequence";
    Random random;
    random.Seed(7);
    float largest = 0;
    for (int i = 0; i < 200000; ++i) {
        const float r = random.Next();
        ASSERT_GE(r, 0.0f);
        ASSERT_LT(r, 1.0f);
        largest = std::max(largest, r);
    }
    EXPECT_GT(largest, 0.999f);
}

}  // namespace
}  // namespace quibbix
