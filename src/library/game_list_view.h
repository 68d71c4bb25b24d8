#pragma once

class QTableView;
class QWidget;

namespace library {

class GameListModel;

// The report-style view of the game list: whole rows selected one at a time, fixed row
// height, no row header, clickable column headers, nothing editable.
QTableView* createGameListView(QWidget* parent);

// Holds a view's repaints while many rows are shown or hidden: its header then lays out the
// rows once afterwards instead of once for every row.
class UpdatesHeld {
public:
    explicit UpdatesHeld(QWidget* widget);
    ~UpdatesHeld();
    UpdatesHeld(const UpdatesHeld&) = delete;
    UpdatesHeld& operator=(const UpdatesHeld&) = delete;

private:
    QWidget* widget_;
    bool held_;
};

// Shows the model's rows in the view: the path column hidden, the other three at their widths.
void showGameList(QTableView* view, GameListModel* model);

} // namespace library
