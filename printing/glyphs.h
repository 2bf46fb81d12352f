#pragma once

#include "core/draft/notation.h"

#include <QColor>
#include <QString>

class QPainter;
class QRect;

namespace qb {

// How one cell of a grid pane is drawn.
enum class GlyphStyle { Plain, Number, Letter, Cross, Dot, UserSymbol, Layer, SolidColor, Blank };

// The text a number, letter or symbol cell shows for `value` (1-based shaft
// or treadle). Numbers show their last digit; letters run A..Z, a..z and fall
// back to the number beyond shaft 52; a user symbol of 0 shows the number.
QString glyphText(GlyphStyle style, int value, int symbol = 0);

// The style a notation asks for, before any fallback.
GlyphStyle styleForNotation(int notation, bool risingShed);

// Cells smaller than the mark size, or a font too small to read, show plain
// marks whatever the notation.
GlyphStyle effectiveStyle(GlyphStyle requested, int cellWidth, int cellHeight, int markSize, int measuredTextHeight,
                          int innerCell);

// Pixel height of the cell font for a cell of w x h (min + 1) and the
// measured height of "0123" in it.
int cellFontPixelSize(int w, int h);
int measuredDigitsHeight(int pixelSize);

// Qt color of a 0x00BBGGRR value.
inline QColor colorOf(unsigned c)
{
    return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF));
}

// Painters of one glyph inside `r` (the cell's inside, lines excluded).
void paintCross(QPainter& p, const QRect& r);
void paintDot(QPainter& p, const QRect& r);
// Layer symbols of warps 2..4 (warp index 1..3; index 0 is the circle).
void paintLayerSymbol(QPainter& p, const QRect& r, int warpIndex);
void paintCellText(QPainter& p, const QRect& r, const QString& text);

} // namespace qb
