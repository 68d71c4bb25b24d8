#include "test_support.h"

#include "platform/paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTimer>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace testsupport {

TempFolder::TempFolder() {
    dir_.setAutoRemove(true);
}

QString TempFolder::file(const QString& relative) const {
    return dir_.path() + "/" + relative;
}

QString TempFolder::write(const QString& relative, const QByteArray& bytes) const {
    const QString path = file(relative);
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
    return path;
}

void TempFolder::mkdir(const QString& relative) const {
    QDir().mkpath(file(relative));
}

QByteArray readAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

FakeDialogs::FakeDialogs() : previous_(controls::setDialogs(this)) {}
FakeDialogs::~FakeDialogs() {
    controls::setDialogs(previous_);
}

QStringList FakeDialogs::openFiles(QWidget*, const QString& filter, const QString& folder) {
    filters << filter;
    folders << folder;
    return openFilesAnswers.isEmpty() ? QStringList() : openFilesAnswers.takeFirst();
}

QString FakeDialogs::openFolder(QWidget*, const QString& folder) {
    folders << folder;
    return openFolderAnswers.isEmpty() ? QString() : openFolderAnswers.takeFirst();
}

QString FakeDialogs::openFile(QWidget*, const QString& filter, const QString& folder) {
    filters << filter;
    folders << folder;
    return openFileAnswers.isEmpty() ? QString() : openFileAnswers.takeFirst();
}

controls::Dialogs::SaveChoice FakeDialogs::askToSave(QWidget*, const QString& text,
                                                     const QStringList&) {
    questions << text;
    return saveAnswers.isEmpty() ? SaveChoice::Discard : saveAnswers.takeFirst();
}

bool FakeDialogs::confirm(QWidget*, const QString& text, const QStringList&) {
    warnings << text;
    return confirmAnswers.isEmpty() || confirmAnswers.takeFirst();
}

UnreadableFile::UnreadableFile(const QString& path) : path_(path) {
#ifdef Q_OS_WIN
    const HANDLE handle =
        CreateFileW(reinterpret_cast<LPCWSTR>(QDir::toNativeSeparators(path).utf16()), GENERIC_READ,
                    0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    handle_ = handle == INVALID_HANDLE_VALUE ? nullptr : handle;
#else
    QFile::setPermissions(path, QFileDevice::Permissions());
#endif
}

UnreadableFile::~UnreadableFile() {
#ifdef Q_OS_WIN
    if (handle_)
        CloseHandle(handle_);
#else
    QFile::setPermissions(path_, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
#endif
}

int FakeDialogs::choose(QWidget*, const QString& text, const QStringList& buttonTexts) {
    questions << text;
    return chooseAnswers.isEmpty() ? static_cast<int>(buttonTexts.size()) - 1
                                   : chooseAnswers.takeFirst();
}

QString toolPath(const QString& name) {
#ifdef Q_OS_WIN
    return QStringLiteral(VARNIX_TOOLS_DIR "/") + name + QStringLiteral(".exe");
#else
    return QStringLiteral(VARNIX_TOOLS_DIR "/") + name;
#endif
}

QString installStubEmulator(const QString& appFolder) {
    const QString target = appFolder + QStringLiteral("/Core/") + platform::emulatorFileName();
    QDir().mkpath(appFolder + QStringLiteral("/Core"));
    return QFile::copy(toolPath(QStringLiteral("stub_emulator")), target) ? target : QString();
}

QString expectedEmulatorHome(const QString& coreFolder) {
    return QDir::toNativeSeparators(coreFolder);
}

QString realEmulator() {
#ifdef Q_OS_WIN
    const QString folder = qEnvironmentVariable("VARNIX_EMULATOR_DIR");
    const QString program = folder + QStringLiteral("/mednafen.exe");
    return !folder.isEmpty() && QFileInfo(program).isFile() ? program : QString();
#else
    const QString program = QStringLiteral("/usr/games/mednafen");
    return QFileInfo(program).isExecutable() ? program : QString();
#endif
}

QString installRealEmulator(const QString& appFolder) {
    const QString program = realEmulator();
    const QString core = appFolder + QStringLiteral("/Core");
    QDir().mkpath(core);
    if (program.isEmpty())
        return QString();
    const QString target = core + QStringLiteral("/") + platform::emulatorFileName();
#ifdef Q_OS_WIN
    const QDir folder = QFileInfo(program).dir();
    for (const QString& name : folder.entryList(QDir::Files)) {
        if (!QFile::copy(folder.filePath(name), core + QStringLiteral("/") + name))
            return QString();
    }
    return target;
#else
    return QFile::link(program, target) ? target : QString();
#endif
}

QProcessEnvironment realEmulatorEnvironment(const QString& appFolder) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("MEDNAFEN_HOME"),
               QDir::toNativeSeparators(appFolder + QStringLiteral("/Core")));
#ifdef Q_OS_WIN
    env.insert(QStringLiteral("MEDNAFEN_NOPOPUPS"), QStringLiteral("1"));
#else
    env.insert(QStringLiteral("SDL_VIDEODRIVER"), QStringLiteral("dummy"));
    env.insert(QStringLiteral("SDL_AUDIODRIVER"), QStringLiteral("dummy"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), appFolder);
#endif
    return env;
}

QString runRealEmulator(const QString& appFolder, const QStringList& arguments) {
    const QString core = appFolder + QStringLiteral("/Core");
    for (const char* name : {"stdout.txt", "stderr.txt"})
        QFile::remove(core + QStringLiteral("/") + QLatin1String(name));
    QProcess p;
    p.setProcessEnvironment(realEmulatorEnvironment(appFolder));
    p.setWorkingDirectory(core);
    p.setProcessChannelMode(QProcess::MergedChannels);
    p.start(core + QStringLiteral("/") + platform::emulatorFileName(), arguments);
    if (!p.waitForFinished(60000)) {
        p.kill();
        p.waitForFinished();
    }
    QByteArray output = p.readAll();
    for (const char* name : {"stdout.txt", "stderr.txt"})
        output += readAll(core + QStringLiteral("/") + QLatin1String(name));
    return QString::fromUtf8(output);
}

void whenShown(QWidget* window, std::function<void()> then) {
    auto* poll = new QTimer(window);
    QObject::connect(poll, &QTimer::timeout, window, [window, poll, then = std::move(then)] {
        if (!window->isVisible())
            return;
        poll->deleteLater();
        poll->stop();
        then();
    });
    poll->start(5);
}

} // namespace testsupport
