#include <array>

#include "display/CounterFigures.h"
#include "game/FrmMain.h"
#include "scores/SpriteText.h"

namespace quibbix {

namespace {

constexpr std::int16_t kBackspace = 8;
constexpr std::int16_t kEnter = 13;
// Lower-case letters are typed as capitals.
constexpr std::int16_t kCaseOffset = 32;

}  // namespace

// Draws the table over the board's place and, for a new entry, starts the typing of its name.
void FrmMain::ShowHighScores() {
    pctHighScore.Cls();
    pctHighScore.Place(pctBoard.Left(), pctBoard.Top(), pctBoard.Width(), pctBoard.Height());
    pctHighScore.SetVisible(true);
    pctReset.SetVisible(false);
    pctOk.SetVisible(true);
    SetMousePointer(kHourglassPointer);
    NameEntryActive = kFalse;

    for (int row = 1; row <= kRanks; ++row) {
        const int top = RowTop(row);
        // A name shows its first eight characters.
        const std::string& name = HighScoreNames[row];
        for (int column = 1; column <= kNameCells; ++column) {
            NameCellX[row][column] = static_cast<std::int16_t>(NameCellLeft(column));
            NameCellY[row][column] = static_cast<std::int16_t>(top);
            if (column <= static_cast<int>(name.size())) {
                pctHighScore.PaintPicture(Glyph(name[column - 1]), NameCellX[row][column],
                                          NameCellY[row][column]);
            }
        }
        // The score in six figures, as the score counter shows it: 999999 for a million and more,
        // 000000 for a negative score from an edited store.
        const std::array<int, 6> figures = CounterFigures(HighScores[row], kScoreDigits);
        for (int digit = 1; digit <= kScoreDigits; ++digit) {
            ScoreCellX[row][digit] = static_cast<std::int16_t>(ScoreCellLeft(digit));
            ScoreCellY[row][digit] = static_cast<std::int16_t>(top);
            pctHighScore.PaintPicture(frmGraphics.imgDigit[figures[kScoreDigits - digit]].Picture(),
                                      ScoreCellX[row][digit], ScoreCellY[row][digit]);
        }
    }

    SetMousePointer(kDefaultPointer);
    if (NewEntryRank != 0) {
        SetFocus(pctHighScore);
        StartNameEntry();
    } else {
        pctReset.SetVisible(true);
    }
}

void FrmMain::StartNameEntry() {
    NameEntryActive = kTrue;
    EntryColumn = 1;
    BlankNameRow(static_cast<std::int16_t>(NewEntryRank));
    DrawCursor();
}

// Letters and figures appear at the cursor; Backspace takes the last one back; Enter, or the
// seventh character, ends the name. Every other key is ignored.
void FrmMain::pctHighScore_KeyPress(std::int16_t key) {
    // A name is typed only into one of the table's rows, with the cursor in a cell it can type into.
    if (NameEntryActive == kFalse || NewEntryRank < 1 || NewEntryRank > kRanks || EntryColumn < 1 ||
        EntryColumn > kLastEntryColumn) {
        return;
    }
    std::string& name = HighScoreNames[NewEntryRank];
    const std::int16_t code = key >= 'a' && key <= 'z' ? static_cast<std::int16_t>(key - kCaseOffset) : key;

    if ((code >= 'A' && code <= 'Z') || (code >= '0' && code <= '9')) {
        const char character = static_cast<char>(code);
        pctHighScore.PaintPicture(Glyph(character), NameCellX[NewEntryRank][EntryColumn],
                                  NameCellY[NewEntryRank][EntryColumn]);
        name += character;
        ++EntryColumn;
        if (EntryColumn > kLastEntryColumn) {
            NameEntryActive = kFalse;
            NewEntryRank = 0;
        } else {
            DrawCursor();
        }
    } else if (code == kEnter) {
        EraseCursor();
        NameEntryActive = kFalse;
        NewEntryRank = 0;
    } else if (code == kBackspace) {
        if (EntryColumn == 1) {
            name.clear();
        } else {
            name.resize(EntryColumn - 2);
        }
        EraseCursor();
        EntryColumn = static_cast<std::int16_t>(std::max(EntryColumn - 1, 1));
        DrawCursor();
    }
}

// Back to the main screen; a name still being typed keeps what was typed.
void FrmMain::pctOk_Click() {
    NameEntryActive = kFalse;
    ShowMainScreen();
}

// The table between games: only shown, never typed into.
void FrmMain::pctHighScores_Click() {
    NewEntryRank = 0;
    HideMainScreen();
    ShowHighScores();
}

}  // namespace quibbix
