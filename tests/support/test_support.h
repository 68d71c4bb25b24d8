#pragma once

#include "controls/dialogs.h"

#include <QByteArray>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QWidget>

#include <functional>
#include <ostream>

// Failure messages show texts as text.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace testsupport {

// A fresh folder for one test, removed afterwards.
class TempFolder {
public:
    TempFolder();
    QString path() const { return dir_.path(); }
    // Full path of a file or folder inside.
    QString file(const QString& relative) const;
    // Writes bytes to a file inside, creating folders; returns its full path.
    QString write(const QString& relative, const QByteArray& bytes) const;
    void mkdir(const QString& relative) const;

private:
    QTemporaryDir dir_;
};

QByteArray readAll(const QString& path);

// Records every box and answers file dialogs with queued answers; installed for its lifetime.
class FakeDialogs : public controls::Dialogs {
public:
    FakeDialogs();
    ~FakeDialogs() override;
    void error(QWidget*, const QString& text) override { errors << text; }
    void warning(QWidget*, const QString& text) override { warnings << text; }
    void information(QWidget*, const QString& text) override { informations << text; }
    QStringList openFiles(QWidget*, const QString& filter, const QString& folder) override;
    QString openFile(QWidget*, const QString& filter, const QString& folder) override;
    // Records the question and answers with the next queued choice; Discard when none is queued.
    SaveChoice askToSave(QWidget*, const QString& text, const QStringList&) override;
    // Records the question and answers with the next queued choice; the last button when none
    // is queued.
    int choose(QWidget*, const QString& text, const QStringList& buttonTexts) override;
    QString openFolder(QWidget*, const QString& folder) override;
    // Records the text among the warnings and answers with the next queued answer; going on
    // when none is queued.
    bool confirm(QWidget*, const QString& text, const QStringList&) override;
    // Records the folder and answers with showFolderAnswer.
    bool showFolder(const QString& folder) override {
        shownFolders << folder;
        return showFolderAnswer;
    }

    QStringList errors, warnings, informations, filters, folders;
    QList<QStringList> openFilesAnswers; // empty list = cancel
    QStringList openFileAnswers;         // empty text = cancel
    QStringList questions;
    QList<SaveChoice> saveAnswers;
    QStringList openFolderAnswers; // empty text = cancel
    QList<int> chooseAnswers;
    QList<bool> confirmAnswers;
    QStringList shownFolders;
    bool showFolderAnswer = true;

private:
    controls::Dialogs* previous_;
};

// Keeps a file from being read while it lives, as the system does it: no read right on Linux
// (which a process with every right reads anyway), a handle that shares nothing on Windows (a
// file another program holds open).
class UnreadableFile {
public:
    explicit UnreadableFile(const QString& path);
    ~UnreadableFile();
    UnreadableFile(const UnreadableFile&) = delete;
    UnreadableFile& operator=(const UnreadableFile&) = delete;

private:
    QString path_;
    void* handle_ = nullptr;
};

// Full path of a helper program built from tools/ (e.g. "stub_emulator").
QString toolPath(const QString& name);

// Copies the stand-in emulator to an application folder as Core/mednafen (Core/mednafen.exe on
// Windows); returns its path, or an empty text when the copy failed.
QString installStubEmulator(const QString& appFolder);

// What the stand-in records as MEDNAFEN_HOME for an emulator started from coreFolder: the folder
// in the platform's own form, on every platform.
QString expectedEmulatorHome(const QString& coreFolder);

// The real emulator the emulator tests drive, as it ships on each platform: Debian's
// /usr/games/mednafen, or on Windows the mednafen.exe (with its DLLs) in the folder
// VARNIX_EMULATOR_DIR names. Empty when there is none.
QString realEmulator();
// Puts the real emulator into <app>/Core as the user does (a link to Debian's, a copy of the
// Windows folder's files); returns its path there, or an empty text.
QString installRealEmulator(const QString& appFolder);
// The environment the tests start the real emulator with: Core as its base folder, and where
// nothing needs a window, no sound or video device (Linux), no error boxes (Windows).
QProcessEnvironment realEmulatorEnvironment(const QString& appFolder);
// Runs the real emulator installed in <app>/Core with the arguments, from Core, and returns
// what it said: its output, or on Windows, where it writes its output to Core/stdout.txt and
// stderr.txt, those files. Decoded as UTF-8.
QString runRealEmulator(const QString& appFolder, const QStringList& arguments);

// Runs `then` once the window shows: a window that reads its game beside itself first runs
// the events before it opens, so a timer of 0 ms would fire too early.
void whenShown(QWidget* window, std::function<void()> then);

} // namespace testsupport
