// Writes synthetic Saturn disc images from the command line.
//
//   mkdisc cue  <folder> <name> [options]    <name>.cue + "<name> (Track 01).bin"
//   mkdisc ccd  <folder> <name> [options]    <name>.ccd + <name>.img
//   mkdisc m3u  <folder> <name> [options]    <name>.m3u + "<name> (Disc N).cue" and tracks
//   mkdisc data <file> [options]             a bare data file
//
// Options: --product, --area, --title, --maker, --version, --date, --device, --peripherals,
// --hardware <text> set header fields; --not-saturn writes a non-Saturn hardware identifier;
// --cooked writes 2048-byte sectors (cue, data); --sectors <n>; --discs <n> (m3u, default 2);
// --truncate <bytes> cuts the data file(s) to that size; --lower and --lf change the cue
// sheet's keyword case and line ends.
#include "disc_writer.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFile>

#include <cstdio>
#include <exception>

namespace {

int fail(const QString& text) {
    std::fprintf(stderr, "mkdisc: %s\n", qPrintable(text));
    return 2;
}

void truncateFile(const QString& path, qint64 size) {
    QFile file(path);
    if (!file.resize(size))
        throw std::runtime_error("cannot truncate " + path.toStdString());
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Writes synthetic Saturn disc images."));
    parser.addHelpOption();
    parser.addPositionalArgument(QStringLiteral("kind"), QStringLiteral("cue, ccd, m3u or data"));
    parser.addPositionalArgument(QStringLiteral("folder"), QStringLiteral("target folder"));
    parser.addPositionalArgument(QStringLiteral("name"), QStringLiteral("game name"));
    const QStringList fieldOptions{"hardware", "maker", "product",     "version", "date",
                                   "device",   "area",  "peripherals", "title"};
    for (const QString& name : fieldOptions)
        parser.addOption({name, QStringLiteral("header field"), QStringLiteral("text")});
    parser.addOption({QStringLiteral("not-saturn"), QStringLiteral("non-Saturn identifier")});
    parser.addOption({QStringLiteral("cooked"), QStringLiteral("2048-byte sectors")});
    parser.addOption({QStringLiteral("lower"), QStringLiteral("lower-case cue keywords")});
    parser.addOption({QStringLiteral("lf"), QStringLiteral("LF line ends in the cue sheet")});
    parser.addOption({QStringLiteral("sectors"), QStringLiteral("sector count"), "n", "16"});
    parser.addOption({QStringLiteral("discs"), QStringLiteral("discs of an m3u game"), "n", "2"});
    parser.addOption({QStringLiteral("truncate"), QStringLiteral("data file size"), "bytes"});
    parser.process(app);

    const QStringList args = parser.positionalArguments();
    if (args.isEmpty())
        return fail(QStringLiteral("missing kind (cue, ccd, m3u or data)"));
    const QString kind = args[0];
    const bool isData = kind == QLatin1String("data");
    if ((isData && args.size() != 2) || (!isData && args.size() != 3))
        return fail(QStringLiteral("wrong number of arguments; see --help"));

    discwriter::Header header =
        parser.isSet("not-saturn") ? discwriter::nonSaturnHeader() : discwriter::Header{};
    QByteArray* fields[] = {&header.hardwareId,  &header.makerId,     &header.productNumber,
                            &header.version,     &header.releaseDate, &header.deviceInfo,
                            &header.areaSymbols, &header.peripherals, &header.title};
    for (qsizetype i = 0; i < fieldOptions.size(); ++i) {
        if (parser.isSet(fieldOptions[i]))
            *fields[i] = parser.value(fieldOptions[i]).toLocal8Bit();
    }
    bool ok = true;
    const int sectors = parser.value("sectors").toInt(&ok);
    if (!ok || sectors < 1)
        return fail(QStringLiteral("--sectors needs a positive number"));
    const int discs = parser.value("discs").toInt(&ok);
    if (!ok || discs < 1)
        return fail(QStringLiteral("--discs needs a positive number"));
    qint64 truncateTo = -1;
    if (parser.isSet("truncate")) {
        truncateTo = parser.value("truncate").toLongLong(&ok);
        if (!ok || truncateTo < 0)
            return fail(QStringLiteral("--truncate needs a size in bytes"));
    }
    const auto format =
        parser.isSet("cooked") ? discwriter::Sectors::Cooked2048 : discwriter::Sectors::Raw2352;

    try {
        QStringList dataFiles;
        if (isData) {
            discwriter::writeFile(args[1], discwriter::dataFile(header, format, sectors));
            dataFiles << args[1];
            std::printf("%s\n", qPrintable(args[1]));
        } else {
            const QString folder = args[1];
            const QString name = args[2];
            QString written;
            if (kind == QLatin1String("cue")) {
                written = discwriter::writeCueGame(folder, name, header, format, sectors);
                discwriter::CueStyle style;
                style.lowerCase = parser.isSet("lower");
                style.lineEnd =
                    parser.isSet("lf") ? discwriter::LineEnd::Lf : discwriter::LineEnd::CrLf;
                const QString track = name + (format == discwriter::Sectors::Raw2352
                                                  ? QStringLiteral(" (Track 01).bin")
                                                  : QStringLiteral(" (Track 01).iso"));
                discwriter::writeFile(written, discwriter::cueSheet({track}, format, style));
                dataFiles << folder + "/" + track;
            } else if (kind == QLatin1String("ccd")) {
                written = discwriter::writeCcdGame(folder, name, header, {}, sectors);
                dataFiles << folder + "/" + name + ".img";
            } else if (kind == QLatin1String("m3u")) {
                QList<discwriter::Header> headers;
                for (int i = 0; i < discs; ++i) {
                    discwriter::Header disc = header;
                    disc.deviceInfo = QStringLiteral("CD-%1/%2").arg(i + 1).arg(discs).toLatin1();
                    headers << disc;
                    dataFiles << QStringLiteral("%1/%2 (Disc %3) (Track 01).bin")
                                     .arg(folder, name)
                                     .arg(i + 1);
                }
                written = discwriter::writeM3uGame(folder, name, headers, sectors);
            } else {
                return fail(QStringLiteral("unknown kind \"%1\"").arg(kind));
            }
            std::printf("%s\n", qPrintable(written));
        }
        if (truncateTo >= 0) {
            for (const QString& file : dataFiles)
                truncateFile(file, truncateTo);
        }
    } catch (const std::exception& error) {
        return fail(QString::fromLocal8Bit(error.what()));
    }
    return 0;
}
