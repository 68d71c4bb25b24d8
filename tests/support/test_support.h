#pragma once

#include "controls/dialogs.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

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
    QString openFolder(QWidget*) override;
    // Records the question and answers with the next queued choice; the last button when none
    // is queued.
    int choose(QWidget*, const QString& text, const QStringList& buttonTexts) override;

    QStringList errors, warnings, informations, filters, folders;
    QList<QStringList> openFilesAnswers; // empty list = cancel
    QStringList openFileAnswers;         // empty text = cancel
    QStringList questions;
    QList<SaveChoice> saveAnswers;
    QStringList openFolderAnswers; // empty text = cancel
    QList<int> chooseAnswers;

private:
    controls::Dialogs* previous_;
};

// Full path of a helper program built from tools/ (e.g. "stub_emulator").
QString toolPath(const QString& name);

} // namespace testsupport
