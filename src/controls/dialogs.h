#pragma once

#include <QString>
#include <QStringList>

class QWidget;

namespace controls {

// Message boxes and file dialogs go through this interface so that tests can answer them
// without a real modal box. The default implementation shows the toolkit's own boxes, each with
// a single OK button and the title of its kind ("Error", "Warning", "Information").
class Dialogs {
public:
    enum class SaveChoice { Save, Discard, Cancel };

    virtual ~Dialogs() = default;
    virtual void error(QWidget* parent, const QString& text) = 0;
    virtual void warning(QWidget* parent, const QString& text) = 0;
    virtual void information(QWidget* parent, const QString& text) = 0;
    // Multi-select open dialog, opening in the given folder (empty: the current one); an empty
    // list means the user cancelled. The filter's list shows its text without the patterns.
    virtual QStringList openFiles(QWidget* parent, const QString& filter,
                                  const QString& folder = QString()) = 0;
    // Single-file open dialog; an empty text means the user cancelled.
    virtual QString openFile(QWidget* parent, const QString& filter,
                             const QString& folder = QString()) = 0;
    // A question box with the buttons Save, Don't save and Cancel (texts given, in that order);
    // Escape or closing the box is Cancel.
    virtual SaveChoice askToSave(QWidget* parent, const QString& text,
                                 const QStringList& buttonTexts) = 0;
    // A question box with one button per text, the first the default; gives the number of the
    // button chosen. Escape or closing the box chooses the last one (which should cancel).
    virtual int choose(QWidget* parent, const QString& text, const QStringList& buttonTexts) = 0;
    // A warning box with two buttons, to go on (the first text, the default) or not (the second);
    // Escape or closing the box does not go on.
    virtual bool confirm(QWidget* parent, const QString& text, const QStringList& buttonTexts) = 0;
    // Folder dialog, opening in the given folder (empty: the current one); an empty text means
    // the user cancelled.
    virtual QString openFolder(QWidget* parent, const QString& folder = QString()) = 0;
    // Shows the folder in the desktop's file manager; false when the desktop could not.
    virtual bool showFolder(const QString& folder);
};

// The dialogs in use; never null.
Dialogs& dialogs();
// Replaces the dialogs (tests); null restores the real ones. Returns the previous override.
Dialogs* setDialogs(Dialogs* replacement);

// The message boxes' titles, by kind; English until the translation replaces them.
enum class BoxKind { Error, Warning, Information, Confirm };
QString boxTitle(BoxKind kind);
void setBoxTitle(BoxKind kind, const QString& title);

// Texts joined from several messages are separated by a single carriage return; boxes show it
// as a line break.
QString boxText(const QString& joined);

} // namespace controls
