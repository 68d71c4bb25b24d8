// Placeholder implementations; replaced by the real game library.
#include "library/disc_image.h"
#include "library/game_list.h"

namespace library {

int compareRows(const GameRecord&, const GameRecord&, int) { return 0; }

GameListModel::GameListModel(QObject* parent) : QAbstractTableModel(parent) {
    headers_[0] = QStringLiteral("Path");
    headers_[1] = QStringLiteral("Game name");
    headers_[2] = QStringLiteral("Game ID");
    headers_[3] = QStringLiteral("Region");
}
int GameListModel::rowCount(const QModelIndex& p) const { return p.isValid() ? 0 : count(); }
int GameListModel::columnCount(const QModelIndex& p) const { return p.isValid() ? 0 : 4; }
QVariant GameListModel::data(const QModelIndex&, int) const { return {}; }
QVariant GameListModel::headerData(int s, Qt::Orientation o, int role) const {
    if (o == Qt::Horizontal && role == Qt::DisplayRole && s >= 0 && s < 4)
        return headers_[s];
    return {};
}
bool GameListModel::setHeaderData(int, Qt::Orientation, const QVariant&, int) { return false; }
QStringList GameListModel::paths() const { return {}; }
void GameListModel::append(const GameRecord&) {}
void GameListModel::append(const std::vector<GameRecord>&) {}
void GameListModel::removeAt(int) {}
void GameListModel::clearAll() {}
void GameListModel::sortByColumn(int) {}
void GameListModel::setTint(const QColor& t) { tint_ = t; }
void GameListModel::rebuildIndex() {}

GameList::GameList(const QString& f, QObject* parent) : QObject(parent), folder_(f) {}
QString GameList::listFilePath() const { return folder_ + QStringLiteral("/List.ini"); }
AddOutcome GameList::validate(const QString&) { return AddOutcome::NotSaturn; }
void GameList::startUp() {}
void GameList::addGames(const QStringList&, const std::function<void()>&) {}
void GameList::deleteRow(int) {}
void GameList::clear() {}
void GameList::sortByColumn(int) {}
void GameList::save() {}
QStringList loadGameList(const QString&) { return {}; }

} // namespace library
