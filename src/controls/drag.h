#pragma once

#include <QPoint>

namespace controls {

// The drag state of a borderless window: a press on its title bar remembers the cursor's offset
// from the window's top-left corner; moves place the window at cursor minus offset; a release
// ends the drag.
struct DragState {
    bool dragging = false;
    QPoint offset;

    void press(QPoint cursor, QPoint windowTopLeft) {
        dragging = true;
        offset = cursor - windowTopLeft;
    }
    // The window's new top-left corner, or nothing while not dragging.
    bool move(QPoint cursor, QPoint* newTopLeft) const {
        if (!dragging)
            return false;
        *newTopLeft = cursor - offset;
        return true;
    }
    void release() { dragging = false; }
};

} // namespace controls
