#pragma once

#include <QString>
#include <functional>

namespace library {

class GameListModel;

// The list filter without its widgets: the text rows are matched against, how many rows it
// shows and the count the status bar shows. Rows that do not match are hidden in the view
// only; the model keeps every row, and view and model rows keep the same numbers.
class GameFilter {
public:
    // Shows (true) or hides (false) one row of the view.
    using ShowRow = std::function<void(int row, bool shown)>;
    // Whether the view shows a row now.
    using IsShown = std::function<bool(int row)>;

    // An empty text shows every row. A text that holds the one before it (letter case
    // ignored) can only match rows that match now: the next pass tests only the rows shown.
    void setText(const QString& text);
    bool active() const { return !text_.isEmpty(); }
    // The rows' own texts changed (a game found again): the next pass tests every row.
    void rowsChanged() { rowsChanged_ = true; }

    // The list's own count, shown while the filter is not active.
    void setListCount(const QString& text) { listCount_ = text; }

    // Matches every row again (the text changed, rows went or moved) and counts the rows
    // shown. Only rows whose state changes are shown or hidden: the others are not touched.
    void apply(const GameListModel& model, const IsShown& isShown, const ShowRow& showRow);
    // New rows first to last: hidden when they do not match, the shown ones counted. Without
    // a text nothing changes.
    void filterRows(const GameListModel& model, int first, int last, const ShowRow& showRow);

    // The count panel's text: the list's own count, or "shown of all" while filtering.
    QString countText(int total) const;

private:
    QString text_;
    QString listCount_;
    int shownRows_ = 0;
    bool rowsHidden_ = false;
    bool narrows_ = false;
    bool rowsChanged_ = false;
};

} // namespace library
