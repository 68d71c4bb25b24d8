#include "library/game_filter.h"

#include "i18n/messages.h"
#include "library/game_list.h"

namespace library {

void GameFilter::setText(const QString& text) {
    // Every match of the new text holds the old one, so a row the old text hides stays hidden.
    narrows_ = text.contains(text_, Qt::CaseInsensitive);
    text_ = text;
}

void GameFilter::apply(const GameListModel& model, const IsShown& isShown, const ShowRow& showRow) {
    const bool narrows = narrows_ && !rowsChanged_;
    narrows_ = false;
    rowsChanged_ = false;
    shownRows_ = 0;
    if (text_.isEmpty() && !rowsHidden_)
        return;
    for (int row = 0; row < model.count(); ++row) {
        const bool wasShown = isShown(row);
        const bool shown =
            text_.isEmpty() || ((wasShown || !narrows) && matchesFilter(model.at(row), text_));
        if (shown != wasShown)
            showRow(row, shown);
        if (shown)
            ++shownRows_;
    }
    rowsHidden_ = !text_.isEmpty();
}

void GameFilter::filterRows(const GameListModel& model, int first, int last,
                            const ShowRow& showRow) {
    if (text_.isEmpty())
        return;
    rowsHidden_ = true;
    for (int row = first; row <= last && row < model.count(); ++row) {
        const bool shown = matchesFilter(model.at(row), text_);
        // New rows are shown: only those that do not match change.
        if (!shown)
            showRow(row, false);
        else
            ++shownRows_;
    }
}

QString GameFilter::countText(int total) const {
    if (text_.isEmpty())
        return listCount_;
    return i18n::message(i18n::Extra::ShownOfTotal).arg(shownRows_).arg(total);
}

} // namespace library
