#include "scenario/BadLine.h"
#include "scenario/Commands.h"
#include "scenario/ScriptLine.h"

namespace quibbix::commands {

// move X Y, press X Y [B], release X Y [B].
void Pointer(ScenarioSession& session, const Words& words) {
    const std::string& command = words[0];
    RequireWords(words, 3, command == "move" ? 3 : 4);
    const int x = Coordinate(words[1]);
    const int y = Coordinate(words[2]);
    const auto button = words.size() == 4
                            ? static_cast<std::int16_t>(WholeNumber("button", words[3], -32768, 32767))
                            : kLeftButton;
    if (command != "move" && button != kLeftButton && button != kRightButton && button != kMiddleButton) {
        throw BadLine("bad button: " + Quoted(words[3]));
    }
    FrmMain& form = session.Form();
    if (command == "move") {
        form.PointerMoved(x, y, session.ButtonsDown());
    } else if (command == "press") {
        session.SetButtonsDown(static_cast<std::int16_t>(session.ButtonsDown() | button));
        form.ButtonPressed(x, y, button);
    } else {
        session.SetButtonsDown(static_cast<std::int16_t>(session.ButtonsDown() & ~button));
        form.ButtonReleased(x, y, button);
    }
}

// click NAME, click X Y.
void Click(ScenarioSession& session, const Words& words) {
    RequireWords(words, 2, 3);
    int x = 0;
    int y = 0;
    if (words.size() == 3) {
        x = Coordinate(words[1]);
        y = Coordinate(words[2]);
    } else {
        const RectPx bounds = session.VisibleControl(words[1]).Bounds();
        x = bounds.left + bounds.Width() / 2;
        y = bounds.top + bounds.Height() / 2;
    }
    session.Form().ButtonPressed(x, y, kLeftButton);
    session.Form().ButtonReleased(x, y, kLeftButton);
}

// key CODE.
void Key(ScenarioSession& session, const Words& words) {
    RequireWords(words, 2, 2);
    session.Form().KeyPressed(static_cast<std::int16_t>(WholeNumber("key code", words[1], -32768, 32767)));
}

// type TEXT: a key for each character.
void Type(ScenarioSession& session, const Words& words) {
    RequireWords(words, 2, 2);
    for (const char c : words[1]) {
        session.Form().KeyPressed(static_cast<std::int16_t>(static_cast<unsigned char>(c)));
    }
}

// minimize, restore.
void WindowState(ScenarioSession& session, const Words& words) {
    RequireWords(words, 1, 1);
    session.Form().WindowStateChanged(words[0] == "minimize" ? 1 : 0);
}

// The window lost the keyboard or was minimised from outside the game.
void Away(ScenarioSession& session, const Words& words) {
    RequireWords(words, 1, 1);
    session.Form().PlayerAway();
}

void Close(ScenarioSession& session, const Words& words) {
    RequireWords(words, 1, 1);
    session.Form().CloseRequested();
}

}  // namespace quibbix::commands
