#pragma once

#include "i18n/language_file.h"

#include <QString>
#include <QStringList>

#include <span>

class QObject;
class QWidget;

namespace i18n {

// The window a text belongs to.
enum class Form { Main, Properties, Cd };

// What an entry sets on its control.
enum class TextTarget {
    Caption,        // the control's caption: property "caption", else a label's or button's
                    // text, a group box's or menu's title, an action's text
    Hint,           // the tool tip
    Item,           // the text of list item `index` (the number of items never changes)
    Select,         // after the items: selects item `index` (no entry is read)
    Tab,            // the text of tab `index`
    Column,         // the heading of list column `index`
    PanelField,     // the caption of the panel's `index`-th labelled edit, in child order
    LanguageName,   // the language selector's item `index` caption
    SelectLanguage, // selects the language selector's item given by the language index
    Message,        // message table entry `index`
    Unused,         // read, shown nowhere
};

// One text of a window bound to one entry of the language file.
struct TextBinding {
    Form form;
    const char* section; // the bracketed section name
    int entry;           // from 1; 0 for targets that read no entry
    const char* object;  // object name of the control; nullptr for messages and unused entries
    TextTarget target;
    int index;
};

// The whole mapping between the language file and the three windows, section by section in
// the order the main window applies them. Every window applies its own rows in table order.
std::span<const TextBinding> textBindings();

// What applying a language to a window did.
struct ApplyResult {
    int applied = 0;       // texts (and selections) set
    int kept = 0;          // texts the file could not supply: their English stays
    QStringList unmatched; // controls the window lacks, or that cannot take the text
};

// Applies the rows of `form` to the window: the [Language] rows always, every other row only
// when the language index is 1. An entry the file cannot supply (missing or short section)
// leaves the English text in place. A list's selection is announced (currentIndexChanged), so a
// model behind the list follows it; the language selector's is made with its signals blocked.
ApplyResult applyTexts(Form form, QWidget* window, const LanguageText& text, int languageIndex);

// The object named `name` under `window`, the window itself excluded. Other top-level windows
// parented to it are not searched; pop-up menus are.
QObject* findControl(QWidget* window, const QString& name);

} // namespace i18n
