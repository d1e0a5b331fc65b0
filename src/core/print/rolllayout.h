#pragma once

#include "report.h"

// core/print: a page of texts one below the other (a ticket) laid out again across a receipt roll, so
// that a narrow roll prints its texts readable instead of the whole page shrunk to the roll's width.
namespace RollLayout {

// Texts are never printed smaller than this on a roll (a capital letter about 2.8 mm tall).
constexpr double smallestPoints = 11;
// Nor larger than this: at 8 dots/mm its letters stay under 64 dots, the size up to which the painter
// draws each glyph from one image (a larger glyph is drawn from its outline, which may come out a few
// dots apart from one painting to the next, and a page must always give the same raster). A capital
// letter is then about 5.7 mm tall.
constexpr double largestPoints = 22.5;
// A text shrinks to this share of its size at most to keep its words whole on a line.
constexpr double shrinkLimit = 0.75;

// The page's texts as they print now, in the order of their place on the page, each across the whole
// `widthMm` at its own size (from smallestPoints to largestPoints), a text whose longest word is wider than
// the roll made smaller (down to shrinkLimit of its size) and broken into as many lines as it needs: its box
// grows to hold them, nothing is cut off. `dotsPerMm` is the resolution it will be painted at.
Report lay(const Report& page, double widthMm, double dotsPerMm);

} // namespace RollLayout
