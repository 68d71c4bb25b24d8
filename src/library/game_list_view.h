#pragma once

class QTableView;
class QWidget;

namespace library {

class GameListModel;

// The report-style view of the game list: whole rows selected one at a time, fixed row
// height, no row header, clickable column headers, nothing editable.
QTableView* createGameListView(QWidget* parent);

// Shows the model's rows in the view: the path column hidden, the other three at their widths.
void showGameList(QTableView* view, GameListModel* model);

} // namespace library
