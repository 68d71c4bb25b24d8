#include "test_support.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

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

QString FakeDialogs::openFolder(QWidget*) {
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

int FakeDialogs::choose(QWidget*, const QString& text, const QStringList& buttonTexts) {
    questions << text;
    return chooseAnswers.isEmpty() ? static_cast<int>(buttonTexts.size()) - 1
                                   : chooseAnswers.takeFirst();
}

QString toolPath(const QString& name) {
    return QStringLiteral(VARNIX_TOOLS_DIR "/") + name;
}

} // namespace testsupport
