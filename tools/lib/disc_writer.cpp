#include "disc_writer.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <stdexcept>

namespace discwriter {

namespace {

constexpr int RawSectorSize = 2352;
constexpr int UserDataSize = 2048;
constexpr int FramesPerSecond = 75;
constexpr int PregapFrames = 150; // the first data sector lies at 00:02:00

QByteArray fitted(const QByteArray& field, int length) {
    QByteArray bytes = field.left(length);
    bytes.append(QByteArray(length - bytes.size(), ' '));
    return bytes;
}

char bcd(int value) {
    return static_cast<char>(((value / 10) << 4) | (value % 10));
}

QByteArray rawSector(int lba, const QByteArray& userData) {
    QByteArray sector;
    sector.reserve(RawSectorSize);
    sector.append('\0');
    sector.append(QByteArray(10, '\xFF'));
    sector.append('\0');
    const int frame = lba + PregapFrames;
    sector.append(bcd(frame / (60 * FramesPerSecond)));
    sector.append(bcd(frame / FramesPerSecond % 60));
    sector.append(bcd(frame % FramesPerSecond));
    sector.append('\x01'); // Mode 1
    sector.append(userData);
    // Error detection and correction bytes are left zero; nothing here checks them.
    sector.append(QByteArray(RawSectorSize - sector.size(), '\0'));
    return sector;
}

QByteArray ending(LineEnd lineEnd) {
    return lineEnd == LineEnd::CrLf ? "\r\n" : "\n";
}

} // namespace

Header nonSaturnHeader() {
    Header header;
    header.hardwareId = "SEGA MEGA DRIVE ";
    return header;
}

QByteArray headerBytes(const Header& header) {
    return fitted(header.hardwareId, 16) + fitted(header.makerId, 16) +
           fitted(header.productNumber, 10) + fitted(header.version, 6) +
           fitted(header.releaseDate, 8) + fitted(header.deviceInfo, 8) +
           fitted(header.areaSymbols, 16) + fitted(header.peripherals, 16) +
           fitted(header.title, 112);
}

QByteArray dataFile(const Header& header, Sectors format, int sectorCount) {
    QByteArray first = headerBytes(header);
    first.append(QByteArray(UserDataSize - first.size(), '\0'));
    const QByteArray empty(UserDataSize, '\0');
    QByteArray bytes;
    bytes.reserve(qMax(1, sectorCount) *
                  (format == Sectors::Raw2352 ? RawSectorSize : UserDataSize));
    for (int lba = 0; lba < qMax(1, sectorCount); ++lba) {
        const QByteArray& user = lba == 0 ? first : empty;
        bytes.append(format == Sectors::Raw2352 ? rawSector(lba, user) : user);
    }
    return bytes;
}

QByteArray cueSheet(const QStringList& dataFiles, Sectors format, const CueStyle& style) {
    // Keywords follow the chosen letter case; file names keep their own.
    const auto word = [&style](const char* upper) {
        const QByteArray text(upper);
        return style.lowerCase ? text.toLower() : text;
    };
    const QByteArray mode = format == Sectors::Raw2352 ? "MODE1/2352" : "MODE1/2048";
    QList<QByteArray> lines;
    int track = 1;
    for (const QString& name : dataFiles) {
        lines << word("FILE") + " \"" + name.toLocal8Bit() + "\" " + word("BINARY");
        lines << "  " + word("TRACK") + " " + QByteArray::number(track).rightJustified(2, '0') +
                     " " + (track == 1 ? word(mode.constData()) : word("AUDIO"));
        lines << "    " + word("INDEX") + " 01 00:00:00";
        ++track;
    }
    const QByteArray end = ending(style.lineEnd);
    QByteArray text;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        text += lines[i];
        if (i + 1 < lines.size() || style.finalLineEnd)
            text += end;
    }
    return text;
}

QByteArray ccdFile(int sectorCount) {
    // A table of contents for one Mode 1 data track starting at LBA 0, ended by the lead-out.
    const int leadOut = qMax(1, sectorCount);
    const auto entry = [](int number, const char* point, int control, int pmin, int psec,
                          int pframe, int plba) {
        return QStringLiteral("[Entry %1]\r\nSession=1\r\nPoint=%2\r\nADR=0x01\r\n"
                              "Control=0x%3\r\nTrackNo=0\r\nAMin=0\r\nASec=0\r\nAFrame=0\r\n"
                              "ALBA=-150\r\nZero=0\r\nPMin=%4\r\nPSec=%5\r\nPFrame=%6\r\n"
                              "PLBA=%7\r\n")
            .arg(number)
            .arg(QLatin1String(point))
            .arg(control, 2, 16, QLatin1Char('0'))
            .arg(pmin)
            .arg(psec)
            .arg(pframe)
            .arg(plba)
            .toLatin1();
    };
    const int frames = leadOut + PregapFrames;
    QByteArray text = "[CloneCD]\r\nVersion=3\r\n[Disc]\r\nTocEntries=4\r\nSessions=1\r\n"
                      "DataTracksScrambled=0\r\nCDTextLength=0\r\n[Session 1]\r\nPreGapMode=1\r\n"
                      "PreGapSubC=0\r\n";
    text += entry(0, "0xa0", 4, 1, 0, 0, 4350);
    text += entry(1, "0xa1", 4, 1, 0, 0, 4350);
    text += entry(2, "0xa2", 4, frames / (60 * FramesPerSecond), frames / FramesPerSecond % 60,
                  frames % FramesPerSecond, leadOut);
    text += entry(3, "0x01", 4, 0, 2, 0, 0);
    text += "[TRACK 1]\r\nMODE=1\r\nINDEX 1=0\r\n";
    return text;
}

QByteArray playlist(const QStringList& entries, LineEnd lineEnd) {
    QByteArray text;
    for (const QString& entry : entries)
        text += entry.toLocal8Bit() + ending(lineEnd);
    return text;
}

void writeFile(const QString& path, const QByteArray& bytes) {
    const QFileInfo info(path);
    if (!QDir().mkpath(info.absolutePath()))
        throw std::runtime_error("cannot create the folder of " + path.toStdString());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write " + path.toStdString() + ": " +
                                 file.errorString().toStdString());
}

QString writeCueGame(const QString& folder, const QString& name, const Header& header,
                     Sectors format, int sectorCount) {
    const QString track = name + (format == Sectors::Raw2352 ? QStringLiteral(" (Track 01).bin")
                                                             : QStringLiteral(" (Track 01).iso"));
    writeFile(folder + "/" + track, dataFile(header, format, sectorCount));
    const QString cue = folder + "/" + name + ".cue";
    writeFile(cue, cueSheet({track}, format));
    return cue;
}

QString writeCcdGame(const QString& folder, const QString& name, const Header& header,
                     const QString& imgName, int sectorCount) {
    const QString img = imgName.isEmpty() ? name + ".img" : imgName;
    writeFile(folder + "/" + img, dataFile(header, Sectors::Raw2352, sectorCount));
    // The emulator reads the subchannel file beside the image; empty subchannel data will do.
    writeFile(folder + "/" + name + ".sub", QByteArray(qMax(1, sectorCount) * 96, '\0'));
    const QString ccd = folder + "/" + name + ".ccd";
    writeFile(ccd, ccdFile(sectorCount));
    return ccd;
}

QString writeM3uGame(const QString& folder, const QString& name, const QList<Header>& discs,
                     int sectorCount) {
    QStringList entries;
    for (qsizetype i = 0; i < discs.size(); ++i) {
        const QString disc = QStringLiteral("%1 (Disc %2)").arg(name).arg(i + 1);
        writeCueGame(folder, disc, discs[i], Sectors::Raw2352, sectorCount);
        entries << disc + ".cue";
    }
    const QString m3u = folder + "/" + name + ".m3u";
    writeFile(m3u, playlist(entries));
    return m3u;
}

} // namespace discwriter
