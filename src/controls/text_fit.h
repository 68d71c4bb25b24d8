#pragma once

#include <QString>

class QWidget;

namespace controls {

// Gives captions that were replaced after a window was built (a translation) the room they
// need, everywhere under `root`. A caption that fits its place is left exactly as it is, so a
// window whose texts all fit does not change by a pixel. Otherwise:
// - a one-line label or a check box grows to its text when there is room before the control
//   beside it (or the container's edge);
// - else the control beside it (a list, track bar or check box) moves right, together with the
//   controls of its kind that stand in the same column, using free room on their right first and
//   narrowing for the rest; a list keeps its drop-down as wide as before;
// - else a check box caption wraps to a second line; the controls below it move down while the
//   container has room, the box moves up into the free room above it for the rest;
// - a word-wrapped label that needs more lines grows the same way;
// - a group box title that is wider than its box is elided, with the whole title as the box's
//   tool tip.
void fitCaptions(QWidget* root);

// Whether the widget's caption shows whole at its size: one-line labels and check boxes by their
// size hint, word-wrapped labels by the height their width needs, group boxes by their title.
// Other widgets always fit.
bool captionFits(const QWidget* widget);

} // namespace controls
