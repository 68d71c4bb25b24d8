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

    // An empty text shows every row.
    void setText(const QString& text) { text_ = text; }
    bool active() const { return !text_.isEmpty(); }

    // The list's own count, shown while the filter is not active.
    void setListCount(const QString& text) { listCount_ = text; }

    // Starts matching over (the text changed, rows went or moved): the count starts at zero,
    // and without a text the rows hidden before show again.
    void reset(const GameListModel& model, const ShowRow& showRow);
    // Rows first to last shown or hidden as they match, the shown ones counted. Without a text
    // nothing changes.
    void filterRows(const GameListModel& model, int first, int last, const ShowRow& showRow);

    // The count panel's text: the list's own count, or "shown of all" while filtering.
    QString countText(int total) const;

private:
    QString text_;
    QString listCount_;
    int shownRows_ = 0;
    bool rowsHidden_ = false;
};

} // namespace library
