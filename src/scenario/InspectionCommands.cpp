#include <ostream>

#include "scenario/Commands.h"
#include "scenario/Dump.h"

namespace quibbix::commands {

// dump: the whole state as one line of JSON.
void Dump(ScenarioSession& session, const Words& words) {
    RequireWords(words, 1, 1);
    session.Out() << DumpState(session.Form(), session.Platform()).Text() << '\n';
}

// shot FILE: the window as the player sees it.
void Shot(ScenarioSession& session, const Words& words) {
    RequireWords(words, 2, 2);
    session.WritePicture(words[1], session.Frame());
}

// sprite NAME FILE: a picture of the sprite library at its own size.
void Sprite(ScenarioSession& session, const Words& words) {
    RequireWords(words, 3, 3);
    session.WritePicture(words[2], session.FindPicture(words[1])->Image());
}

}  // namespace quibbix::commands
