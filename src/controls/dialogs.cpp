#include "controls/dialogs.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QUrl>

namespace controls {

namespace {

class RealDialogs : public Dialogs {
public:
    void error(QWidget* parent, const QString& text) override {
        // Error texts name files and folders: they can be selected and copied.
        QMessageBox box(QMessageBox::Critical, boxTitle(BoxKind::Error), boxText(text),
                        QMessageBox::Ok, parent);
        box.setTextInteractionFlags(Qt::TextSelectableByMouse);
        box.exec();
    }
    void warning(QWidget* parent, const QString& text) override {
        QMessageBox::warning(parent, boxTitle(BoxKind::Warning), boxText(text));
    }
    void information(QWidget* parent, const QString& text) override {
        QMessageBox::information(parent, boxTitle(BoxKind::Information), boxText(text));
    }
    // "Profile (cfg) (*.cfg)" shows as "Profile (cfg)": the patterns only select the files.
    QStringList openFiles(QWidget* parent, const QString& filter, const QString& folder) override {
        return QFileDialog::getOpenFileNames(parent, QString(), folder, filter, nullptr,
                                             QFileDialog::HideNameFilterDetails);
    }
    QString openFile(QWidget* parent, const QString& filter, const QString& folder) override {
        return QFileDialog::getOpenFileName(parent, QString(), folder, filter, nullptr,
                                            QFileDialog::HideNameFilterDetails);
    }
    SaveChoice askToSave(QWidget* parent, const QString& text,
                         const QStringList& buttonTexts) override {
        QMessageBox box(QMessageBox::Question, boxTitle(BoxKind::Confirm), boxText(text),
                        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, parent);
        box.setDefaultButton(QMessageBox::Save);
        box.setEscapeButton(QMessageBox::Cancel);
        const QMessageBox::StandardButton buttons[3] = {QMessageBox::Save, QMessageBox::Discard,
                                                        QMessageBox::Cancel};
        for (int i = 0; i < 3 && i < buttonTexts.size(); ++i)
            box.button(buttons[i])->setText(buttonTexts[i]);
        box.exec();
        const auto* clicked = box.clickedButton();
        if (clicked == box.button(QMessageBox::Save))
            return SaveChoice::Save;
        if (clicked == box.button(QMessageBox::Discard))
            return SaveChoice::Discard;
        return SaveChoice::Cancel;
    }
    bool confirm(QWidget* parent, const QString& text, const QStringList& buttonTexts) override {
        QMessageBox box(QMessageBox::Warning, boxTitle(BoxKind::Warning), boxText(text),
                        QMessageBox::Ok | QMessageBox::Cancel, parent);
        box.setDefaultButton(QMessageBox::Ok);
        box.setEscapeButton(QMessageBox::Cancel);
        if (buttonTexts.size() == 2) {
            box.button(QMessageBox::Ok)->setText(buttonTexts[0]);
            box.button(QMessageBox::Cancel)->setText(buttonTexts[1]);
        }
        box.exec();
        return box.clickedButton() == box.button(QMessageBox::Ok);
    }
    QString openFolder(QWidget* parent, const QString& folder) override {
        return QFileDialog::getExistingDirectory(parent, QString(), folder);
    }
    int choose(QWidget* parent, const QString& text, const QStringList& buttonTexts) override {
        QMessageBox box(QMessageBox::Question, boxTitle(BoxKind::Confirm), boxText(text),
                        QMessageBox::NoButton, parent);
        QList<QAbstractButton*> buttons;
        for (const QString& caption : buttonTexts)
            buttons.append(box.addButton(caption, buttons.size() + 1 == buttonTexts.size()
                                                      ? QMessageBox::RejectRole
                                                      : QMessageBox::AcceptRole));
        if (!buttons.isEmpty()) {
            box.setDefaultButton(static_cast<QPushButton*>(buttons.first()));
            box.setEscapeButton(buttons.last());
        }
        box.exec();
        const qsizetype chosen = buttons.indexOf(box.clickedButton());
        return static_cast<int>(chosen >= 0 ? chosen : buttons.size() - 1);
    }
};

QString titles[4] = {QStringLiteral("Error"), QStringLiteral("Warning"),
                     QStringLiteral("Information"), QStringLiteral("Confirm")};

RealDialogs realDialogs;
Dialogs* current = nullptr;

} // namespace

bool Dialogs::showFolder(const QString& folder) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(folder));
}

QString boxTitle(BoxKind kind) {
    return titles[static_cast<int>(kind)];
}

void setBoxTitle(BoxKind kind, const QString& title) {
    titles[static_cast<int>(kind)] = title;
}

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
