#include <gtest/gtest.h>

#include "game/FrmMain.h"
#include "shell/headless/HeadlessPlatform.h"
#include "tests/common/TempFolder.h"

namespace quibbix {
namespace {

TEST(StartUpTest, TheShapeListHoldsTheMasksBlackPixelsInColumnOrder) {
    HeadlessPlatform platform("", "/opt/quibbix");
    FrmMain form(platform.Services());
    form.Load();

    const Image& sprite = form.pctBall[0].Picture()->Image();
    int expected = 0;
    for (int x = 0; x < 32; ++x) {
        for (int y = 0; y < 32; ++y) {
            if ((sprite.At(x, y + 32) & 0xFFFFFFu) == 0) {
                ASSERT_LT(expected, form.MaskCount);
                EXPECT_EQ(form.MaskX[expected], x);
                EXPECT_EQ(form.MaskY[expected], y);
                ++expected;
            }
        }
    }
    EXPECT_EQ(form.MaskCount, expected);
    EXPECT_GT(form.MaskCount, 600);  // a disc nearly filling its cell
}

TEST(StartUpTest, TheBallSpritesShareOneOutline) {
    HeadlessPlatform platform("", "/opt/quibbix");
    FrmMain form(platform.Services());
    for (int type = 0; type < 3; ++type) {
        const Image& sprite = form.pctBall[type].Picture()->Image();
        ASSERT_EQ(sprite.Width(), 32);
        ASSERT_EQ(sprite.Height(), 64);
        for (int y = 0; y < 32; ++y) {
            for (int x = 0; x < 32; ++x) {
                const Argb mask = sprite.At(x, y + 32) & 0xFFFFFFu;
                ASSERT_TRUE(mask == 0 || mask == 0xFFFFFFu);
                ASSERT_EQ(mask, form.pctBall[0].Picture()->Image().At(x, y + 32) & 0xFFFFFFu);
                // Outside the shape the ball half is black, so painting it leaves the board alone.
                if (mask != 0) {
                    ASSERT_EQ(sprite.At(x, y) & 0xFFFFFFu, 0u) << "type " << type << " at " << x << "," << y;
                }
            }
        }
    }
}

// A table edited by hand, with blanks around the "=" and quotes around the values, reads as meant.
TEST(StartUpTest, AHandEditedTableIsReadAsMeant) {
    const TempFolder folder;
    TempFolder::Put(folder.File(),
                    "[Settings]\n Sound = 1 \nHighScoreName1 = \"A B\" \nHighScore1 =\t\" 1500\"\n"
                    "HighScoreName2\t=\tBARE \nHighScore2 = 77 \nHighScoreName10=\" \"\nHighScore10 = -3\n");
    HeadlessPlatform platform(folder.File().string(), "/opt/quibbix");
    FrmMain form(platform.Services());
    form.Load();
    EXPECT_TRUE(form.SoundOn());
    EXPECT_EQ(form.HighScoreNames[1], "A B");
    EXPECT_EQ(form.HighScores[1], 1500);
    EXPECT_EQ(form.HighScoreNames[2], "BARE");
    EXPECT_EQ(form.HighScores[2], 77);
    EXPECT_EQ(form.HighScoreNames[10], " ");
    EXPECT_EQ(form.HighScores[10], -3);
}

// Every run seeds the generator afresh, and what it deals stays below one.
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
    random.Queue(0.25f);
    EXPECT_EQ(random.Next(), 0.25f);
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
