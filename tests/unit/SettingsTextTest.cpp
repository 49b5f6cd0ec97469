#include <gtest/gtest.h>

#include <limits>

#include "game/Arithmetic.h"
#include "shell/SettingsText.h"
#include "shell/platform/FileSettingsStore.h"
#include "tests/common/TempFolder.h"

namespace quibbix {
namespace {

TEST(SettingsTextTest, LeadingNumberReadsUpToTheFirstForeignCharacter) {
    EXPECT_EQ(LeadingNumber(" 1500"), 1500);
    EXPECT_EQ(LeadingNumber("1500"), 1500);
    EXPECT_EQ(LeadingNumber("-25"), -25);
    EXPECT_EQ(LeadingNumber("12abc"), 12);
    EXPECT_EQ(LeadingNumber("1 2 3"), 123);  // blanks are ignored, even inside
    EXPECT_EQ(LeadingNumber("2.5"), 2.5);
    EXPECT_EQ(LeadingNumber("1e3x"), 1000);
    EXPECT_EQ(LeadingNumber("1e"), 1);
    EXPECT_EQ(LeadingNumber("3-4"), 3);
    EXPECT_EQ(LeadingNumber("abc"), 0);
    EXPECT_EQ(LeadingNumber(""), 0);
    EXPECT_EQ(LeadingNumber("-"), 0);
    EXPECT_EQ(LeadingNumber("."), 0);
}

TEST(SettingsTextTest, WholeNumbersRoundHalvesToEvenAndStopAtTheEnds) {
    EXPECT_EQ(RoundHalfEven<std::int32_t>(2.5), 2);
    EXPECT_EQ(RoundHalfEven<std::int32_t>(3.5), 4);
    EXPECT_EQ(RoundHalfEven<std::int32_t>(-2.5), -2);
    EXPECT_EQ(RoundHalfEven<std::int32_t>(2.4999), 2);
    EXPECT_EQ(RoundHalfEven<std::int32_t>(1e12), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(RoundHalfEven<std::int32_t>(-1e12), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(RoundHalfEven<std::int32_t>(LeadingNumber("99999999999999999999999")),
              std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(RoundHalfEven<std::int32_t>(LeadingNumber(std::string(1000, '9'))),
              std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(RoundHalfEven<std::int16_t>(LeadingNumber("7")), 7);
    EXPECT_EQ(RoundHalfEven<std::int16_t>(LeadingNumber("0.4")), 0);
    EXPECT_EQ(RoundHalfEven<std::int16_t>(LeadingNumber("70000")), 32767);
}

TEST(SettingsTextTest, ScoresAreWrittenWithALeadingBlankOrSign) {
    EXPECT_EQ(ScoreText(1500), " 1500");
    EXPECT_EQ(ScoreText(0), " 0");
    EXPECT_EQ(ScoreText(-5), "-5");
}

// A save that brings the file to exactly the 4 MiB the next run still reads is written; one byte
// more is refused and leaves the file as it was.
TEST(SettingsTextTest, ASaveThatFillsTheFileToTheLimitToTheByteIsWritten) {
    const TempFolder folder;
    for (const std::size_t over : {0, 1}) {
        std::string text = "[Settings]\nName=A\n;";
        text += std::string((4u << 20) - 1 + over - text.size() - 1, 'x') + "\n";
        TempFolder::Put(folder.File(), text);
        FileSettingsStore store(folder.File(), "Quibbix");
        store.SaveSetting("Quibbix", "Settings", "Name", "AB");
        store.Flush();
        EXPECT_EQ(store.Refusal().empty(), over == 0) << store.Refusal();
        EXPECT_EQ(std::filesystem::file_size(folder.File()), (4u << 20) + (over == 0 ? 0 : over - 1));
        EXPECT_EQ(FileSettingsStore(folder.File(), "Quibbix").GetSetting("Quibbix", "Settings", "Name", ""),
                  over == 0 ? "AB" : "A");
    }
}

}  // namespace
}  // namespace quibbix
