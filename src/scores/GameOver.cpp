#include "game/FrmMain.h"

namespace quibbix {

// The time has run out: the game-over screen, and the score enters the table if it reaches one of
// its ten scores. A score equal to one in the table goes above it; the tenth entry drops out.
void FrmMain::GameOver() {
    GameActive = kFalse;
    HideMainScreen();
    pctGameOver.SetVisible(true);
    NewEntryRank = 0;

    // A table read out of order is used as it stands: the score goes in front of the first entry
    // it reaches.
    for (int rank = 1; rank <= kRanks && NewEntryRank == 0; ++rank) {
        if (Score >= HighScores[rank]) {
            NewEntryRank = rank;
            for (int below = kRanks; below > rank; --below) {
                HighScoreNames[below] = HighScoreNames[below - 1];
                HighScores[below] = HighScores[below - 1];
            }
            HighScoreNames[rank].clear();
            HighScores[rank] = Score;
        }
    }

    ShowHighScores();
}

// The emptied table reaches the store only when the program shuts down.
void FrmMain::ClearHighScores() {
    for (int rank = 1; rank <= kRanks; ++rank) {
        HighScoreNames[rank].clear();
        HighScores[rank] = 0;
    }
}

void FrmMain::pctReset_Click() {
    ClearHighScores();
    pctHighScore.Cls();
    ShowHighScores();
}

}  // namespace quibbix
