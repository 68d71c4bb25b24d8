#include "library/game_list_view.h"

#include "controls/design_font.h"
#include "library/game_list.h"

#include <QHeaderView>
#include <QTableView>

namespace library {

QTableView* createGameListView(QWidget* parent) {
    auto* view = new QTableView(parent);
    view->setFont(controls::designFont(11, true));
    view->setShowGrid(true);
    view->setSelectionBehavior(QAbstractItemView::SelectRows);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setWordWrap(false);
    view->verticalHeader()->setVisible(false);
    view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    view->verticalHeader()->setDefaultSectionSize(17);
    view->horizontalHeader()->setSectionsClickable(true);
    view->horizontalHeader()->setHighlightSections(false);
    view->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    view->horizontalHeader()->setStretchLastSection(false);
    view->viewport()->setCursor(Qt::PointingHandCursor);
    return view;
}

UpdatesHeld::UpdatesHeld(QWidget* widget) : widget_(widget), held_(widget->updatesEnabled()) {
    if (held_)
        widget_->setUpdatesEnabled(false);
}

UpdatesHeld::~UpdatesHeld() {
    if (held_)
        widget_->setUpdatesEnabled(true);
}

void showGameList(QTableView* view, GameListModel* model) {
    view->setModel(model);
    view->setColumnWidth(0, 0);
    view->setColumnHidden(0, true);
    view->setColumnWidth(1, 215);
    view->setColumnWidth(2, 82);
    view->setColumnWidth(3, 55);
    // The arrow shows the order the rows follow; the list sorts itself (the view's own sorting
    // stays off), and the arrow goes once added rows break the order.
    QHeaderView* header = view->horizontalHeader();
    header->setSortIndicatorShown(true);
    header->setSortIndicator(model->sortColumn(), model->sortOrder());
    QObject::connect(
        model, &GameListModel::sortIndicatorChanged, header,
        [header](int column, Qt::SortOrder order) { header->setSortIndicator(column, order); });
    // A click flips the arrow by itself before the list is sorted; the list sets it after.
    QObject::connect(header, &QHeaderView::sectionClicked, header, [header, model] {
        header->setSortIndicator(model->sortColumn(), model->sortOrder());
    });
}

} // namespace library
