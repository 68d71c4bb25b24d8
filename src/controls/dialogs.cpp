#include "controls/dialogs.h"

#include <QFileDialog>
#include <QMessageBox>

namespace controls {

namespace {

class RealDialogs : public Dialogs {
public:
    void error(QWidget* parent, const QString& text) override {
        QMessageBox::critical(parent, QStringLiteral("Error"), boxText(text));
    }
    void warning(QWidget* parent, const QString& text) override {
        QMessageBox::warning(parent, QStringLiteral("Warning"), boxText(text));
    }
    void information(QWidget* parent, const QString& text) override {
        QMessageBox::information(parent, QStringLiteral("Information"), boxText(text));
    }
    QStringList openFiles(QWidget* parent, const QString& filter) override {
        return QFileDialog::getOpenFileNames(parent, QString(), QString(), filter);
    }
    QString openFile(QWidget* parent, const QString& filter) override {
        return QFileDialog::getOpenFileName(parent, QString(), QString(), filter);
    }
    QString openFolder(QWidget* parent) override {
        return QFileDialog::getExistingDirectory(parent);
    }
};

RealDialogs realDialogs;
Dialogs* current = nullptr;

} // namespace

Dialogs& dialogs() {
    return current ? *current : realDialogs;
}

Dialogs* setDialogs(Dialogs* replacement) {
    Dialogs* previous = current;
    current = replacement;
    return previous;
}

QString boxText(const QString& joined) {
    QString text = joined;
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

} // namespace controls
