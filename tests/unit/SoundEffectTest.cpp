#include <gtest/gtest.h>

#include "game/FrmMain.h"
#include "shell/headless/HeadlessPlatform.h"

namespace quibbix {
namespace {

std::vector<std::string> PlayedFrom(const std::string& programDir) {
    HeadlessPlatform platform("", programDir);
    FrmMain form(platform.Services());
    form.Load();
    form.pctSound_Click();
    form.PlayEffect("Missile.wav", SND_ASYNC);
    return platform.Sounds().Requests();
}

TEST(SoundEffectTest, ThePathAlwaysGetsOneSeparatorAfterTheProgramsFolder) {
    EXPECT_EQ(PlayedFrom("/usr/share/games/quibbix"),
              std::vector<std::string>{"/usr/share/games/quibbix/Missile.wav"});
    // A folder that ends in a separator gets a second one, which still reaches the file.
    EXPECT_EQ(PlayedFrom("/"), std::vector<std::string>{"//Missile.wav"});
}

TEST(SoundEffectTest, SoundIsOnOnlyForTheLibrarysOwnSoundPicture) {
    HeadlessPlatform platform("", "/opt/quibbix");
    FrmMain form(platform.Services());
    form.Load();
    // The same pixels in another picture object do not count: the state is the picture itself.
    const PictureRef& on = form.frmGraphics.pctSoundOn.Picture();
    form.pctSound.SetPicture(std::make_shared<const Picture>(on->Name(), on->Image()));
    EXPECT_FALSE(form.SoundOn());
    form.PlayEffect("Bleep.wav", SND_ASYNC);
    EXPECT_TRUE(platform.Sounds().Requests().empty());
    form.pctSound.SetPicture(on);
    EXPECT_TRUE(form.SoundOn());
}

}  // namespace
}  // namespace quibbix
