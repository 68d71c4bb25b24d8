#include "i18n/text_bindings.h"

#include "controls/labeled_edit.h"
#include "i18n/messages.h"

#include <QAbstractButton>
#include <QAbstractItemModel>
#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QRegularExpression>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QWidget>

#include <optional>

namespace i18n {

namespace {

using enum Form;
using enum TextTarget;

// clang-format off
constexpr TextBinding bindings[] = {
    // The translation's name as the selector's second entry, then the language in force.
    {Main, "[Language]", 1, "ComboBoxEx1", LanguageName, 1},
    {Main, "[Language]", 0, "ComboBoxEx1", SelectLanguage, 0},

    // Game list column headings; column 0 (the path) stays.
    {Main, "[List]", 1, "ListView1", Column, 1},
    {Main, "[List]", 2, "ListView1", Column, 2},
    {Main, "[List]", 3, "ListView1", Column, 3},

    {Main, "[Pages]", 1, "PageControl1", Tab, 0},
    {Main, "[Pages]", 2, "PageControl1", Tab, 1},
    {Main, "[Pages]", 3, "PageControl1", Tab, 2},
    {Main, "[Pages]", 4, "PageControl1", Tab, 3},
    {Main, "[Pages]", 5, "PageControl2", Tab, 0},
    {Main, "[Pages]", 6, "PageControl2", Tab, 1},

    // Panel titles.
    {Main, "[Panels]", 1, "Label20", Caption, 0},
    {Main, "[Panels]", 2, "Label18", Caption, 0},
    {Main, "[Panels]", 3, "Label19", Caption, 0},
    {Main, "[Panels]", 4, "Label8", Caption, 0},
    {Main, "[Panels]", 5, "Label28", Caption, 0},
    {Main, "[Panels]", 6, "Label23", Caption, 0},
    {Main, "[Panels]", 7, "Label22", Caption, 0},
    {Main, "[Panels]", 8, "Label26", Caption, 0},
    {Main, "[Panels]", 9, "Label25", Caption, 0},
    {Main, "[Panels]", 10, "Label21", Caption, 0},
    {Main, "[Panels]", 10, "Label24", Caption, 0},
    {Main, "[Panels]", 11, "Label30", Caption, 0},
    {Properties, "[Panels]", 12, "Label1", Caption, 0},
    {Cd, "[Panels]", 13, "BTitle", Caption, 0},

    // Labelled edit captions; the cartridge paths (LabeledEdit3, LabeledEdit4) keep theirs.
    {Main, "[Fields]", 1, "LabeledEdit1", Caption, 0},
    {Main, "[Fields]", 2, "LabeledEdit2", Caption, 0},
    {Properties, "[Fields]", 3, "Xpanel15", PanelField, 0},
    {Properties, "[Fields]", 4, "Xpanel15", PanelField, 1},
    {Properties, "[Fields]", 5, "Xpanel15", PanelField, 2},
    {Properties, "[Fields]", 6, "Xpanel15", PanelField, 3},
    {Properties, "[Fields]", 7, "Xpanel15", PanelField, 4},
    {Properties, "[Fields]", 8, "Xpanel15", PanelField, 5},
    {Properties, "[Fields]", 9, "Xpanel15", PanelField, 6},
    {Properties, "[Fields]", 10, "Xpanel15", PanelField, 7},
    {Properties, "[Fields]", 11, "Xpanel15", PanelField, 8},
    {Properties, "[Fields]", 12, "Xpanel15", PanelField, 9},

    {Main, "[Labels]", 1, "Label1", Caption, 0},
    {Main, "[Labels]", 2, "Label6", Caption, 0},
    {Main, "[Labels]", 3, "Label5", Caption, 0},
    {Main, "[Labels]", 4, "Label7", Caption, 0},
    {Main, "[Labels]", 5, "Label9", Caption, 0},
    {Main, "[Labels]", 6, "Label3", Caption, 0},
    {Main, "[Labels]", 7, "Label27", Caption, 0},
    {Main, "[Labels]", 8, "Label29", Caption, 0},
    {Main, "[Labels]", 9, "Label16", Caption, 0},
    {Main, "[Labels]", 10, "Label4", Caption, 0},
    {Main, "[Labels]", 11, "Label11", Caption, 0},
    {Main, "[Labels]", 12, "Label12", Caption, 0},
    {Main, "[Labels]", 13, "Label14", Caption, 0},
    {Main, "[Labels]", 14, "Label13", Caption, 0},
    {Main, "[Labels]", 15, "Label2", Caption, 0},
    {Main, "[Labels]", 16, "Label15", Caption, 0},
    {Main, "[Labels]", 17, "Label10", Caption, 0},
    {Main, "[Labels]", 18, "Label17", Caption, 0},
    {Main, "[Labels]", 19, "Label31", Caption, 0},
    {Main, "[Labels]", 20, "Label32", Caption, 0},

    // Buttons; entry 3 is the caption of all four path buttons.
    {Main, "[Buttons]", 1, "XiButton1", Caption, 0},
    {Main, "[Buttons]", 2, "XiButton2", Caption, 0},
    {Main, "[Buttons]", 3, "XiButton3", Caption, 0},
    {Main, "[Buttons]", 3, "XiButton4", Caption, 0},
    {Main, "[Buttons]", 3, "XiButton5", Caption, 0},
    {Main, "[Buttons]", 3, "XiButton6", Caption, 0},
    {Main, "[Buttons]", 4, "XiButton7", Caption, 0},
    {Properties, "[Buttons]", 5, "XiButton6", Caption, 0},
    {Cd, "[Buttons]", 6, "XiButton6", Caption, 0},

    {Main, "[Checkboxes]", 1, "CheckBox2", Caption, 0},
    {Main, "[Checkboxes]", 2, "CheckBox4", Caption, 0},
    {Main, "[Checkboxes]", 3, "CheckBox6", Caption, 0},
    {Main, "[Checkboxes]", 4, "CheckBox9", Caption, 0},
    {Main, "[Checkboxes]", 5, "CheckBox8", Caption, 0},
    {Main, "[Checkboxes]", 6, "CheckBox10", Caption, 0},
    {Main, "[Checkboxes]", 7, "CheckBox11", Caption, 0},
    {Main, "[Checkboxes]", 8, "CheckBox7", Caption, 0},
    {Main, "[Checkboxes]", 9, "CheckBox1", Caption, 0},
    {Main, "[Checkboxes]", 10, "CheckBox12", Caption, 0},
    {Main, "[Checkboxes]", 11, "CheckBox3", Caption, 0},
    {Main, "[Checkboxes]", 12, "CheckBox5", Caption, 0},
    {Main, "[Checkboxes]", 13, "CheckBox13", Caption, 0},
    {Main, "[Checkboxes]", 14, "CheckBox14", Caption, 0},
    {Main, "[Checkboxes]", 15, "CheckBox15", Caption, 0},

    // List items by position. The lists whose settings are stored by item index show their
    // first item afterwards; the skins, device and pad mode lists are selected elsewhere.
    {Main, "[Comboboxes]", 1, "ComboBox3", Item, 0},
    {Main, "[Comboboxes]", 2, "ComboBox3", Item, 1},
    {Main, "[Comboboxes]", 3, "ComboBox3", Item, 2},
    {Main, "[Comboboxes]", 4, "ComboBox3", Item, 3},
    {Main, "[Comboboxes]", 5, "ComboBox3", Item, 4},
    {Main, "[Comboboxes]", 6, "ComboBox3", Item, 5},
    {Main, "[Comboboxes]", 0, "ComboBox3", Select, 0},
    {Main, "[Comboboxes]", 7, "ComboBox2", Item, 0},
    {Main, "[Comboboxes]", 8, "ComboBox2", Item, 1},
    {Main, "[Comboboxes]", 9, "ComboBox2", Item, 2},
    {Main, "[Comboboxes]", 10, "ComboBox2", Item, 3},
    {Main, "[Comboboxes]", 11, "ComboBox2", Item, 4},
    {Main, "[Comboboxes]", 12, "ComboBox2", Item, 5},
    {Main, "[Comboboxes]", 13, "ComboBox2", Item, 6},
    {Main, "[Comboboxes]", 14, "ComboBox2", Item, 7},
    {Main, "[Comboboxes]", 0, "ComboBox2", Select, 0},
    {Main, "[Comboboxes]", 15, "ComboBox1", Item, 0},
    {Main, "[Comboboxes]", 16, "ComboBox1", Item, 1},
    {Main, "[Comboboxes]", 17, "ComboBox1", Item, 2},
    {Main, "[Comboboxes]", 18, "ComboBox1", Item, 3},
    {Main, "[Comboboxes]", 19, "ComboBox1", Item, 4},
    {Main, "[Comboboxes]", 20, "ComboBox1", Item, 5},
    {Main, "[Comboboxes]", 0, "ComboBox1", Select, 0},
    {Main, "[Comboboxes]", 21, "ComboBox6", Item, 0},
    {Main, "[Comboboxes]", 22, "ComboBox6", Item, 1},
    {Main, "[Comboboxes]", 23, "ComboBox6", Item, 2},
    {Main, "[Comboboxes]", 24, "ComboBox6", Item, 3},
    {Main, "[Comboboxes]", 25, "ComboBox6", Item, 4},
    {Main, "[Comboboxes]", 0, "ComboBox6", Select, 0},
    {Main, "[Comboboxes]", 26, "ComboBox7", Item, 0},
    {Main, "[Comboboxes]", 27, "ComboBox7", Item, 1},
    {Main, "[Comboboxes]", 28, "ComboBox7", Item, 2},
    {Main, "[Comboboxes]", 29, "ComboBox7", Item, 3},
    {Main, "[Comboboxes]", 0, "ComboBox7", Select, 0},
    {Main, "[Comboboxes]", 30, "ComboBox11", Item, 0},
    {Main, "[Comboboxes]", 31, "ComboBox11", Item, 1},
    {Main, "[Comboboxes]", 0, "ComboBox11", Select, 0},
    {Main, "[Comboboxes]", 32, "ComboBox12", Item, 0},
    {Main, "[Comboboxes]", 0, "ComboBox12", Select, 0},
    {Main, "[Comboboxes]", 33, "ComboBox14", Item, 0},
    {Main, "[Comboboxes]", 34, "ComboBox14", Item, 1},
    {Main, "[Comboboxes]", 35, "ComboBox14", Item, 2},
    {Main, "[Comboboxes]", 36, "ComboBox14", Item, 3},
    {Main, "[Comboboxes]", 37, "ComboBox14", Item, 4},
    {Main, "[Comboboxes]", 38, "ComboBox14", Item, 5},
    {Main, "[Comboboxes]", 39, "ComboBox15", Item, 0},
    {Main, "[Comboboxes]", 40, "ComboBox15", Item, 1},
    {Main, "[Comboboxes]", 41, "ComboBox15", Item, 2},
    {Main, "[Comboboxes]", 42, "ComboBox15", Item, 3},
    {Main, "[Comboboxes]", 43, "ComboBox15", Item, 4},
    {Main, "[Comboboxes]", 44, "ComboBox15", Item, 5},
    {Main, "[Comboboxes]", 45, "ComboBox15", Item, 6},
    {Main, "[Comboboxes]", 46, "ComboBox15", Item, 7},
    {Main, "[Comboboxes]", 47, "ComboBox15", Item, 8},
    {Main, "[Comboboxes]", 48, "ComboBox15", Item, 9},
    {Main, "[Comboboxes]", 49, "ComboBox16", Item, 0},
    {Main, "[Comboboxes]", 50, "ComboBox16", Item, 1},

    {Main, "[Frames]", 1, "GroupBox4", Caption, 0},
    {Main, "[Frames]", 2, "GroupBox1", Caption, 0},
    {Main, "[Frames]", 3, "GroupBox2", Caption, 0},
    {Main, "[Frames]", 4, "GroupBox3", Caption, 0},
    {Main, "[Frames]", 5, "GroupBox5", Caption, 0},
    {Main, "[Frames]", 6, "GroupBox6", Caption, 0},

    // Status bar panels 0 and 2; panels 1 and 3 carry values.
    {Main, "[Statusbar]", 1, "StatusBar1Panel0", Caption, 0},
    {Main, "[Statusbar]", 2, "StatusBar1Panel2", Caption, 0},

    {Main, "[Menu]", 1, "Addgames1", Caption, 0},
    {Main, "[Menu]", 2, "Deleteitem1", Caption, 0},
    {Main, "[Menu]", 3, "Clearlist2", Caption, 0},
    {Main, "[Menu]", 4, "Deletegameprofile1", Caption, 0},
    {Main, "[Menu]", 5, "Gameproperties1", Caption, 0},
    {Properties, "[Menu]", 5, "BTitle", Caption, 0},

    {Main, "[Messages]", 1, nullptr, Message, 0},
    {Main, "[Messages]", 2, nullptr, Message, 1},
    {Main, "[Messages]", 3, nullptr, Message, 2},
    {Main, "[Messages]", 4, nullptr, Message, 3},
    {Main, "[Messages]", 5, nullptr, Message, 4},
    {Main, "[Messages]", 6, nullptr, Message, 5},
    {Main, "[Messages]", 7, nullptr, Message, 6},
    {Main, "[Messages]", 8, nullptr, Message, 7},
    {Main, "[Messages]", 9, nullptr, Message, 8},
    {Main, "[Messages]", 10, nullptr, Message, 9},
    {Main, "[Messages]", 11, nullptr, Message, 10},
    {Main, "[Messages]", 12, nullptr, Message, 11},
    {Main, "[Messages]", 13, nullptr, Message, 12},
    {Main, "[Messages]", 14, nullptr, Message, 13},
    {Main, "[Messages]", 15, nullptr, Message, 14},

    // Tool tips.
    {Main, "[Hints]", 1, "LabeledEdit1", Hint, 0},
    {Main, "[Hints]", 1, "LabeledEdit2", Hint, 0},
    {Main, "[Hints]", 2, "ComboBox3", Hint, 0},
    {Main, "[Hints]", 3, "CheckBox2", Hint, 0},
    {Main, "[Hints]", 4, "CheckBox4", Hint, 0},
    {Main, "[Hints]", 5, "LabeledEdit3", Hint, 0},
    {Main, "[Hints]", 5, "LabeledEdit4", Hint, 0},
    {Main, "[Hints]", 6, "CheckBox6", Hint, 0},
    {Main, "[Hints]", 7, "ComboBox6", Hint, 0},
    {Main, "[Hints]", 8, "CheckBox12", Hint, 0},
    {Main, "[Hints]", 9, "TrackBar5", Hint, 0},
    {Main, "[Hints]", 10, "ComboBox8", Hint, 0},
    {Main, "[Hints]", 11, "ComboBox9", Hint, 0},
    {Main, "[Hints]", 12, "CheckBox3", Hint, 0},
    {Main, "[Hints]", 13, "CheckBox5", Hint, 0},
    {Main, "[Hints]", 14, "TrackBar6", Hint, 0},
    {Main, "[Hints]", 15, "TrackBar8", Hint, 0},
    {Main, "[Hints]", 16, "TrackBar9", Hint, 0},
    {Main, "[Hints]", 17, "ComboBox13", Hint, 0},
    {Main, "[Hints]", 18, "CheckBox13", Hint, 0},
    {Main, "[Hints]", 19, "CheckBox9", Hint, 0},
    {Main, "[Hints]", 20, "CheckBox8", Hint, 0},
    {Main, "[Hints]", 21, "TrackBar4", Hint, 0},
    {Main, "[Hints]", 22, "TrackBar3", Hint, 0},
    {Main, "[Hints]", 23, "CheckBox7", Hint, 0},
    {Main, "[Hints]", 24, "XiButton7", Hint, 0},
    {Main, "[Hints]", 25, "ComboBoxEx1", Hint, 0},
    {Main, "[Hints]", 26, nullptr, Unused, 0},
    {Main, "[Hints]", 27, "BMini", Hint, 0},
    {Main, "[Hints]", 28, "BExit", Hint, 0},
    {Properties, "[Hints]", 28, "BExit", Hint, 0},
    {Main, "[Hints]", 29, "ComboBox14", Hint, 0},
    {Cd, "[Hints]", 30, "XiButton6", Hint, 0},
};
// clang-format on

bool isSeparateWindow(const QWidget* widget) {
    const Qt::WindowType type = widget->windowType();
    return widget->isWindow() && type != Qt::Popup && type != Qt::ToolTip;
}

QObject* findUnder(QObject* parent, const QString& name) {
    const QObjectList& children = parent->children();
    for (QObject* child : children) {
        if (child->objectName() == name)
            return child;
    }
    for (QObject* child : children) {
        if (child->isWidgetType() && isSeparateWindow(static_cast<QWidget*>(child)))
            continue;
        if (QObject* found = findUnder(child, name))
            return found;
    }
    return nullptr;
}

bool setCaption(QObject* object, const QString& text) {
    if (object->metaObject()->indexOfProperty("caption") >= 0)
        return object->setProperty("caption", text);
    if (auto* label = qobject_cast<QLabel*>(object)) {
        label->setText(text);
    } else if (auto* button = qobject_cast<QAbstractButton*>(object)) {
        button->setText(text);
    } else if (auto* group = qobject_cast<QGroupBox*>(object)) {
        group->setTitle(text);
    } else if (auto* action = qobject_cast<QAction*>(object)) {
        action->setText(text);
    } else if (auto* menu = qobject_cast<QMenu*>(object)) {
        menu->setTitle(text);
    } else {
        return false;
    }
    return true;
}

// Hints name the emulator's folders (Core/firmware) with the platform's own separator, whichever
// one the translation was written with.
QString withNativeFolderNames(QString text) {
    static const QRegularExpression folder(QStringLiteral(R"(Core[/\\](firmware|pgconfig)\b)"));
    qsizetype from = 0;
    QRegularExpressionMatch match;
    while ((match = folder.match(text, from)).hasMatch()) {
        const QString native =
            QDir::toNativeSeparators(QStringLiteral("Core/") + match.captured(1));
        text.replace(match.capturedStart(), match.capturedLength(), native);
        from = match.capturedStart() + native.size();
    }
    return text;
}

bool setHint(QObject* object, const QString& hint) {
    const QString text = withNativeFolderNames(hint);
    if (auto* widget = qobject_cast<QWidget*>(object)) {
        widget->setToolTip(text);
        return true;
    }
    if (auto* action = qobject_cast<QAction*>(object)) {
        action->setToolTip(text);
        return true;
    }
    return false;
}

bool setItem(QObject* object, int index, const QString& text) {
    auto* combo = qobject_cast<QComboBox*>(object);
    if (!combo || index < 0 || index >= combo->count())
        return false;
    combo->setItemText(index, text);
    return true;
}

// A list's selection made by program: whatever the list shows a state of (the settings model)
// hears of it and follows, so the two never disagree; the user's reactions do not run, as they
// follow `activated` only.
bool select(QObject* object, int index) {
    auto* combo = qobject_cast<QComboBox*>(object);
    if (!combo || index < 0 || index >= combo->count())
        return false;
    combo->setCurrentIndex(index);
    return true;
}

// The language selector's selection: its change is the user's pick of a language, so it is made
// with the selector's signals blocked.
bool selectLanguage(QObject* object, int index) {
    QObject* combo = qobject_cast<QComboBox*>(object);
    if (!combo)
        return false;
    const QSignalBlocker quiet(combo);
    return select(combo, index);
}

bool setTab(QObject* object, int index, const QString& text) {
    auto* tabs = qobject_cast<QTabWidget*>(object);
    if (!tabs || index < 0 || index >= tabs->count())
        return false;
    tabs->setTabText(index, text);
    return true;
}

bool setColumn(QObject* object, int index, const QString& text) {
    auto* view = qobject_cast<QAbstractItemView*>(object);
    if (!view || !view->model())
        return false;
    return view->model()->setHeaderData(index, Qt::Horizontal, text);
}

bool setPanelField(QObject* panel, int index, const QString& text) {
    int n = 0;
    for (QObject* child : panel->children()) {
        auto* edit = qobject_cast<controls::LabeledEdit*>(child);
        if (!edit)
            continue;
        if (n == index) {
            edit->setCaption(text);
            return true;
        }
        ++n;
    }
    return false;
}

} // namespace

std::span<const TextBinding> textBindings() {
    return bindings;
}

QObject* findControl(QWidget* window, const QString& name) {
    if (!window || name.isEmpty())
        return nullptr;
    return findUnder(window, name);
}

ApplyResult applyTexts(Form form, QWidget* window, const LanguageText& text, int languageIndex) {
    ApplyResult result;
    if (!window)
        return result;
    for (const TextBinding& row : bindings) {
        if (row.form != form)
            continue;
        const QString section = QString::fromLatin1(row.section);
        if (languageIndex != 1 && section != QLatin1String("[Language]"))
            continue;

        std::optional<QString> entry;
        if (row.entry > 0) {
            entry = text.entry(section, row.entry);
            if (!entry) {
                ++result.kept;
                continue;
            }
        }

        if (row.target == Unused)
            continue;
        if (row.target == Message) {
            setMessage(row.index, *entry);
            ++result.applied;
            continue;
        }

        const QString name = QString::fromLatin1(row.object);
        QObject* control = findControl(window, name);
        if (!control) {
            result.unmatched.append(name);
            continue;
        }

        bool done = false;
        switch (row.target) {
        case Caption:
            done = setCaption(control, *entry);
            break;
        case Hint:
            done = setHint(control, *entry);
            break;
        case Item:
        case LanguageName:
            done = setItem(control, row.index, *entry);
            break;
        case Select:
            done = select(control, row.index);
            break;
        case SelectLanguage:
            done = selectLanguage(control, languageIndex);
            break;
        case Tab:
            done = setTab(control, row.index, *entry);
            break;
        case Column:
            done = setColumn(control, row.index, *entry);
            break;
        case PanelField:
            done = setPanelField(control, row.index, *entry);
            break;
        case Message:
        case Unused:
            break;
        }
        if (done)
            ++result.applied;
        else
            result.unmatched.append(name);
    }
    // The later texts: line k of [Extras] is message MessageCount + k - 1. They are kept out of
    // the designed sections, whose line counts existing translations rely on.
    if (form == Form::Main && languageIndex == 1) {
        for (int k = 1; k <= ExtraCount; ++k) {
            if (const auto entry = text.entry(QStringLiteral("[Extras]"), k)) {
                setMessage(MessageCount + k - 1, *entry);
                ++result.applied;
            } else {
                ++result.kept;
            }
        }
    }
    return result;
}

} // namespace i18n
