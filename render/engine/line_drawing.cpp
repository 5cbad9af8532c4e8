// The line drawer: DL_LINE_TO, DL_LINE_REL and DL_LINE as one-pixel lines in
// the current colour, ROP, line style and style phase.
//
// NOT IMPLEMENTED YET: no line is drawn. RDClipTLines reports every line as
// outside the band, so the interpreter never calls LineDraw, and LineDraw
// draws nothing either.
//
// What will live here: the band test of a segment (a parametric clip of the
// segment against the band's columns and rows); the slicing of a line into
// runs along its major axis, done once per line; the walk of those runs to
// the first and last pixel inside the band, so that each band draws exactly
// the pixels the whole line has in its rows; and the three drawers —
// horizontal and vertical lines through the current ROP kernel, solid lines
// written octant by octant, and styled lines that apply the dash pattern and
// the ROP pixel by pixel.
#include "drawing_seams.h"

int RDClipTLines(const BandWindow&, uint32_t, const TLine*) { return 0; }

int LineDraw(RenderState*, TLine*, uint8_t) { return 0; }
