#include "app/command_line.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>

namespace {

// Options the toolkit reads itself when the application object is made.
void addToolkitOptions(QCommandLineParser& parser) {
    const char* const withValue[] = {
        "platform",    "platformpluginpath", "platformtheme", "plugin",     "qwindowgeometry",
        "qwindowicon", "qwindowtitle",       "style",         "stylesheet", "session",
        "display",     "geometry",           "name",          "title",      "visual"};
    const char* const flags[] = {"reverse", "widgetcount", "nograb", "dograb", "sync"};
    for (const char* name : withValue) {
        QCommandLineOption option(QString::fromLatin1(name), QString(), QStringLiteral("value"));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
    for (const char* name : flags) {
        QCommandLineOption option(QString::fromLatin1(name));
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
}

CommandLine mistake(const QString& text) {
    CommandLine result;
    result.run = false;
    result.exitCode = 2;
    const QString name = QCoreApplication::applicationName();
    result.error = name + QStringLiteral(": ") + text + QLatin1Char('\n') +
                   QStringLiteral("Try '%1 --help' for more information.\n").arg(name);
    return result;
}

} // namespace

CommandLine parseCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(
        QStringLiteral("Launcher for the Mednafen emulator's Sega Saturn module.\n\n"
                       "Without --folder, Varnix works in the current folder when it holds a "
                       "\"Core\" folder,\notherwise in its per-user data folder."));
    const QCommandLineOption help(
        {QStringLiteral("h"), QStringLiteral("help"), QStringLiteral("?")},
        QStringLiteral("Displays this help and ends."));
    parser.addOption(help);
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption folder(QStringLiteral("folder"),
                                    QStringLiteral("Use <folder> as the application folder."),
                                    QStringLiteral("folder"));
    parser.addOption(folder);
    addToolkitOptions(parser);

    if (!parser.parse(arguments))
        return mistake(parser.errorText());
    CommandLine result;
    if (parser.isSet(help) || parser.isSet(version)) {
        result.run = false;
        // Without an application object the usage line has no program name of its own.
        QString helpText = parser.helpText();
        helpText.replace(QStringLiteral("<executable_name>"), QCoreApplication::applicationName());
        result.output = parser.isSet(help)
                            ? helpText
                            : QCoreApplication::applicationName() + QLatin1Char(' ') +
                                  QCoreApplication::applicationVersion() + QLatin1Char('\n');
        return result;
    }
    if (!parser.positionalArguments().isEmpty())
        return mistake(QStringLiteral("Unexpected argument '%1'.")
                           .arg(parser.positionalArguments().constFirst()));
    if (parser.isSet(folder)) {
        const QFileInfo info(parser.value(folder));
        if (!info.isDir())
            return mistake(QStringLiteral("'%1' is not a folder.").arg(parser.value(folder)));
        result.folder = info.absoluteFilePath();
    }
    return result;
}
