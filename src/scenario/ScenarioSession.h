#pragma once
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <memory>
#include <string>

#include "game/FrmMain.h"
#include "shell/headless/HeadlessPlatform.h"
#include "shell/platform/Image.h"

namespace quibbix {

// What every command of a script works on: the headless platform, the main form once started,
// and where the commands print.
class ScenarioSession {
public:
    // Writes a picture to a PNG file; false when the file cannot be written.
    using PngWriter = std::function<bool(const std::string& file, const Image& image)>;

    ScenarioSession(const std::string& settingsFile, std::string programDir, std::ostream& out,
                    PngWriter writePng);

    HeadlessPlatform& Platform() { return platform_; }
    std::ostream& Out() { return out_; }
    bool Started() const { return form_ != nullptr; }
    bool Ended() { return platform_.Window().Ended(); }
    // Loads the main form; the commands that work on the game need it.
    void Start();
    FrmMain& Form() { return *form_; }

    // The mouse buttons the script holds down, as move events report them.
    std::int16_t ButtonsDown() const { return buttonsDown_; }
    void SetButtonsDown(std::int16_t buttons) { buttonsDown_ = buttons; }

    // A control of the main form by name; BadLine if there is none or it is hidden.
    Control& VisibleControl(const std::string& name);
    // A picture of the sprite library or a main-form control's own picture; BadLine if none.
    PictureRef FindPicture(const std::string& name);
    // The window as the player sees it.
    Image Frame();
    // Writes a PNG; Failure when the file cannot be written.
    void WritePicture(const std::string& file, const Image& image);

private:
    HeadlessPlatform platform_;
    std::unique_ptr<FrmMain> form_;
    std::ostream& out_;
    PngWriter writePng_;
    std::int16_t buttonsDown_ = 0;
};

}  // namespace quibbix
