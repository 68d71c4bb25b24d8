#include "library/game_filter.h"

#include "i18n/messages.h"
#include "library/game_list.h"

namespace library {

void GameFilter::reset(const GameListModel& model, const ShowRow& showRow) {
    shownRows_ = 0;
    if (text_.isEmpty()) {
        if (rowsHidden_) {
            for (int row = 0; row < model.count(); ++row)
                showRow(row, true);
            rowsHidden_ = false;
        }
    } else {
        rowsHidden_ = true;
    }
}

void GameFilter::filterRows(const GameListModel& model, int first, int last,
                            const ShowRow& showRow) {
    if (text_.isEmpty())
        return;
    for (int row = first; row <= last && row < model.count(); ++row) {
        const bool shown = matchesFilter(model.at(row), text_);
        showRow(row, shown);
        if (shown)
            ++shownRows_;
    }
}

QString GameFilter::countText(int total) const {
    if (text_.isEmpty())
        return listCount_;
    return i18n::message(i18n::Extra::ShownOfTotal).arg(shownRows_).arg(total);
}

} // namespace library
