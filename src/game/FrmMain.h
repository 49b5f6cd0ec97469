#pragma once
#include <cstdint>
#include <string>

#include "game/GameFields.h"
#include "resources/FrmGraphics.h"
#include "resources/MainFormControls.h"
#include "scores/HighScoreFields.h"
#include "shell/platform/Form.h"
#include "shell/platform/Platform.h"

namespace quibbix {

// The main window: every control, every field of the game and every procedure that works on them.
// The procedures are defined beside their subsystem: game/, display/, scores/ and shell/.
class FrmMain : public Form, public MainFormControls, public GameFields, public HighScoreFields {
public:
    explicit FrmMain(Platform& platform);

    // Loads the form and shows it: the load handler runs before the window is first shown, and
    // showing it is its first resize.
    void Load() {
        Form_Load();
        Form_Resize();
    }

    FrmGraphics frmGraphics;

    // Start-up.
    void Form_Load();

    // The game engine.
    void PlaceBall(std::int16_t slot);
    VbBool BallOverlap(std::int32_t x, std::int32_t y) const;
    void Timer1_Timer();
    void BallHandler();
    void pctNew_Click();
    void pctBoard_MouseMove(std::int16_t button, std::int16_t shift, float x, float y);

    // Digit counters.
    void UpdateScore();
    void UpdateLevel();
    void UpdateTimeLeft();
    void UpdateRemaining();

    // Settings.
    void LoadSettings();
    void SaveSettings();

    // Sound.
    bool SoundOn() const;
    void PlayEffect(const std::string& fileName, std::int16_t flags);
    void pctSound_Click();

    // Screens.
    void HideMainScreen();
    void ShowMainScreen();
    void pctAbout_Click();
    void pctAboutText_Click();

    // Game over, the top-ten table and the typing of a new entry's name.
    void GameOver();
    void ClearHighScores();
    void pctReset_Click();
    void BlankNameRow(std::int16_t row);
    void DrawCursor();
    void EraseCursor();
    void ShowHighScores();
    void StartNameEntry();
    void pctHighScore_KeyPress(std::int16_t key);
    void pctOk_Click();
    void pctHighScores_Click();

    // The window.
    void Form_MouseDown(std::int16_t button, std::int16_t shift, float x, float y);
    void Form_MouseMove(std::int16_t button, std::int16_t shift, float x, float y);
    void Form_Resize();
    void Form_Unload();
    void pctMinimizeIcon_Click();
    void pctExit_Click();
    void pctExitIcon_Click();
    // Saves the settings and ends the program at once.
    void Terminate();

    // The keyboard and the desktop, beyond the buttons.
    // True while a control that takes keys has the focus: every key is then its own.
    bool TakesKeys() const;
    // P or Pause: pauses or resumes a game in progress as PAUSE and START do; never starts one.
    void PauseKey();
    // Ctrl+Q: ends the program as EXIT does.
    void QuitKey();
    // The window was minimised or lost the keyboard: a running game pauses, and stays paused.
    void PlayerAway();

private:
    void ConnectEvents();
    // The parts of a tick.
    void TouchBall(int slot);
    void ChooseNewTarget();
    void RunClock();
    void ClearLevel();
    // The sprite that draws a character of a name; null for a character without one.
    PictureRef Glyph(char character) const;

    Platform& platform_;
};

}  // namespace quibbix
