#include "app/launcher_settings.h"

#include "platform/text_file.h"

#include <QFileInfo>

namespace {

QString valueOf(const QStringList& lines, int index) {
    if (index >= lines.size())
        return QString();
    const QString& line = lines.at(index);
    const qsizetype eq = line.indexOf(QLatin1Char('='));
    return eq < 0 ? line : line.mid(eq + 1);
}

int wholeNumber(const QString& text, int fallback, int lowest, int highest) {
    bool ok = false;
    const int value = text.trimmed().toInt(&ok, 10);
    if (!ok || value < lowest || value > highest)
        return fallback;
    return value;
}

} // namespace

LauncherSettings LauncherSettings::fromLines(const QStringList& lines) {
    LauncherSettings s;
    s.language = wholeNumber(valueOf(lines, 0), DefaultLanguage, 0, 1);
    s.skin = wholeNumber(valueOf(lines, 1), DefaultSkin, 0, 5);
    for (qsizetype i = 2; i < lines.size(); ++i) {
        const QString& line = lines.at(i);
        if (line.startsWith(QLatin1String("Game=")))
            s.game = line.mid(5);
        else if (line.startsWith(QLatin1String("Tab=")))
            s.tab = wholeNumber(line.mid(4), -1, 0, 99);
        else if (line.startsWith(QLatin1String("Folder=")))
            s.gamesFolder = line.mid(7);
    }
    return s;
}

LauncherSettings LauncherSettings::read(const QString& mainIniPath) {
    if (!QFileInfo(mainIniPath).isFile())
        return LauncherSettings();
    // A few short lines: a file of more is no launcher settings file and is not read whole.
    return fromLines(platform::readTextLines(mainIniPath, platform::MaxNamingFileBytes));
}

QStringList LauncherSettings::toLines() const {
    QStringList lines{QStringLiteral("Lang=") + QString::number(language),
                      QStringLiteral("Theme=") + QString::number(skin)};
    if (!game.isEmpty())
        lines.append(QStringLiteral("Game=") + game);
    if (tab > 0) // the first tab is the one open at start anyway
        lines.append(QStringLiteral("Tab=") + QString::number(tab));
    if (!gamesFolder.isEmpty())
        lines.append(QStringLiteral("Folder=") + gamesFolder);
    return lines;
}

void LauncherSettings::write(const QString& mainIniPath) const {
    platform::writeTextLinesAtomic(mainIniPath, toLines());
}

bool skinChangeRestarts(int picked, int skinInForce) {
    return picked != skinInForce;
}
