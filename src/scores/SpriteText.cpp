#include "scores/SpriteText.h"

#include "game/FrmMain.h"

namespace quibbix {

// The glyph rule: capitals from the alphabet sprites, figures from the digit sprites. Any other
// character has no glyph and its cell stays as the surface is.
PictureRef FrmMain::Glyph(char character) const {
    if (character >= 'A' && character <= 'Z') {
        return frmGraphics.pctAlphabet[character - 'A' + 1].Picture();
    }
    if (character >= '0' && character <= '9') {
        return frmGraphics.imgDigit[character - '0'].Picture();
    }
    return nullptr;
}

// The blank is larger than a cell: each one also covers the left of the next cell and the gap
// below, so the row is blanked from left to right.
void FrmMain::BlankNameRow(std::int16_t row) {
    for (int column = 1; column <= kNameCells; ++column) {
        pctHighScore.PaintPicture(frmGraphics.pctBlank.Picture(), NameCellX[row][column],
                                  NameCellY[row][column]);
    }
}

void FrmMain::DrawCursor() {
    pctHighScore.PaintPicture(frmGraphics.pctAlphabet[0].Picture(), NameCellX[NewEntryRank][EntryColumn],
                              NameCellY[NewEntryRank][EntryColumn]);
}

void FrmMain::EraseCursor() {
    pctHighScore.PaintPicture(frmGraphics.pctBlank.Picture(), NameCellX[NewEntryRank][EntryColumn],
                              NameCellY[NewEntryRank][EntryColumn]);
}

}  // namespace quibbix
