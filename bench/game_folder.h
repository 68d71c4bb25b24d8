// Application folders for the benchmarks: made-up Saturn games in four layouts, their list
// file and a global configuration the size of the emulator's own.
#pragma once

#include "disc_writer.h"
#include "settings/settings_model.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace benchgames {

struct Layout {
    const char* name;
    bool ccd;
    bool folderPerGame;
};
constexpr Layout Layouts[] = {{"cue-one", false, false},
                              {"cue-each", false, true},
                              {"ccd-one", true, false},
                              {"ccd-each", true, true}};

// Writes `count` games and returns their image paths in list order.
inline QStringList makeGames(const QString& folder, int count, const Layout& layout) {
    const char* const areas[] = {"J", "U", "E", "JTUE", "JUE"};
    QStringList paths;
    paths.reserve(count);
    for (int i = 0; i < count; ++i) {
        discwriter::Header header;
        header.productNumber = "T-" + QByteArray::number(10000 + (i * 7919) % 90000);
        header.areaSymbols = areas[i % 5];
        const QString name = QStringLiteral("Game %1 %2").arg((i * 104729) % 1000003).arg(i);
        const QString sub = layout.folderPerGame ? QStringLiteral("%1/games/%2").arg(folder).arg(i)
                                                 : folder + QStringLiteral("/games");
        if (layout.ccd) {
            // One sector and no subchannel file: only the CCD file and its image are read.
            const QString ccd = sub + QLatin1Char('/') + name + QStringLiteral(".ccd");
            discwriter::writeFile(ccd, discwriter::ccdFile(1));
            discwriter::writeFile(sub + QLatin1Char('/') + name + QStringLiteral(".img"),
                                  discwriter::dataFile(header, discwriter::Sectors::Raw2352, 1));
            paths << ccd;
        } else {
            paths << discwriter::writeCueGame(sub, name, header, discwriter::Sectors::Raw2352, 1);
        }
    }
    return paths;
}

inline void writeList(const QString& listPath, const QStringList& paths) {
    QByteArray list;
    for (const QString& path : paths)
        list += path.toLocal8Bit() + "\r\n";
    discwriter::writeFile(listPath, list);
}

// A global configuration the size of the emulator's own (about 22,700 lines): a comment, a
// setting and an empty line per setting, the Saturn settings among thousands of others.
inline void makeGlobalConfig(const QString& folder) {
    QByteArray text = ";VERSION 1.29.0\r\n\r\n";
    for (int i = 0; i < 7500; ++i)
        text += ";Description of setting " + QByteArray::number(i) + ".\r\nsys" +
                QByteArray::number(i % 40) + ".setting" + QByteArray::number(i) + " value" +
                QByteArray::number(i) + "\r\n\r\n";
    settings::SettingsModel model;
    for (const QString& line : model.collectSettings())
        text += ";A Saturn setting.\r\n" + line.toLocal8Bit() + "\r\n\r\n";
    discwriter::writeFile(folder + QStringLiteral("/Core/mednafen.cfg"), text);
}

} // namespace benchgames
