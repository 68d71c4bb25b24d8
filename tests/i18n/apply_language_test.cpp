#include "controls/labeled_edit.h"
#include "controls/xi_button.h"
#include "i18n/language.h"
#include "i18n/language_file.h"
#include "i18n/messages.h"
#include "i18n/text_bindings.h"
#include "platform/text_file.h"
#include "test_support.h"

#include <QAbstractButton>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QHash>
#include <QLabel>
#include <QMenu>
#include <QRegularExpression>
#include <QSlider>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeView>

#include <gtest/gtest.h>

#include <memory>

using namespace i18n;

namespace {

const QString english = QStringLiteral("english");

int itemCount(const QString& combo) {
    static const QHash<QString, int> counts{
        {"ComboBoxEx1", 2}, {"ComboBox1", 6},  {"ComboBox2", 8},  {"ComboBox3", 6},
        {"ComboBox6", 5},   {"ComboBox7", 4},  {"ComboBox8", 3},  {"ComboBox9", 3},
        {"ComboBox11", 2},  {"ComboBox12", 8}, {"ComboBox13", 3}, {"ComboBox14", 6},
        {"ComboBox15", 10}, {"ComboBox16", 2}};
    return counts.value(combo, 3);
}

// A stand-in for one of the launcher's windows: plain widgets of the kinds the real windows
// use, named by their design names, every text starting out as "english".
class FakeWindow {
public:
    explicit FakeWindow(const QString& name) : root_(std::make_unique<QWidget>()) {
        root_->setObjectName(name);
    }

    QWidget* root() const { return root_.get(); }
    QObject* operator[](const QString& name) const { return controls_.value(name); }

    QObject* add(const QString& name, QWidget* parent = nullptr) {
        if (!parent)
            parent = root_.get();
        QObject* made = nullptr;
        if (name.startsWith("LabeledEdit")) {
            auto* edit = new controls::LabeledEdit(parent);
            edit->setCaption(english);
            made = edit;
        } else if (name.startsWith("XiButton")) {
            auto* button = new controls::TXiButton(parent);
            button->setCaption(english);
            made = button;
        } else if (name.startsWith("CheckBox")) {
            made = new QCheckBox(english, parent);
        } else if (name.startsWith("GroupBox")) {
            made = new QGroupBox(english, parent);
        } else if (name.startsWith("TrackBar")) {
            made = new QSlider(parent);
        } else if (name.startsWith("ComboBox")) {
            auto* combo = new QComboBox(parent);
            if (name == "ComboBoxEx1")
                combo->addItems({"En", "???"});
            else
                for (int i = 0; i < itemCount(name); ++i)
                    combo->addItem(english + QString::number(i));
            made = combo;
        } else if (name == "BMini" || name == "BExit" || (name == "BTitle" && tool_)) {
            auto* button = new QToolButton(parent);
            button->setText(english);
            made = button;
        } else {
            made = new QLabel(english, parent);
        }
        made->setObjectName(name);
        static_cast<QWidget*>(made)->setToolTip(english);
        controls_.insert(name, made);
        return made;
    }

    void addAll(const QStringList& names, QWidget* parent = nullptr) {
        for (const QString& name : names)
            add(name, parent);
    }

    // Title buttons are tool buttons on the main window, labels on the small ones.
    void setTitleAsToolButton(bool on) { tool_ = on; }

    QObject* addMenu(const QStringList& actions) {
        auto* menu = new QMenu(root_.get());
        menu->setObjectName("PopupMenu1");
        for (const QString& name : actions) {
            if (name == "-") {
                menu->addSeparator();
                continue;
            }
            QAction* action = menu->addAction(english);
            action->setObjectName(name);
            controls_.insert(name, action);
        }
        return menu;
    }

    void addList() {
        auto* view = new QTreeView(root_.get());
        view->setObjectName("ListView1");
        auto* model = new QStandardItemModel(0, 4, view);
        model->setHorizontalHeaderLabels({"Path", english, english, english});
        view->setModel(model);
        controls_.insert("ListView1", view);
    }

    QTabWidget* addTabs(const QString& name, int count, QWidget* parent) {
        auto* tabs = new QTabWidget(parent);
        tabs->setObjectName(name);
        for (int i = 0; i < count; ++i)
            tabs->addTab(new QWidget, english);
        controls_.insert(name, tabs);
        return tabs;
    }

private:
    std::unique_ptr<QWidget> root_;
    QHash<QString, QObject*> controls_;
    bool tool_ = false;
};

QString textOf(const QObject* object) {
    if (object->metaObject()->indexOfProperty("caption") >= 0)
        return object->property("caption").toString();
    if (auto* label = qobject_cast<const QLabel*>(object))
        return label->text();
    if (auto* button = qobject_cast<const QAbstractButton*>(object))
        return button->text();
    if (auto* group = qobject_cast<const QGroupBox*>(object))
        return group->title();
    if (auto* action = qobject_cast<const QAction*>(object))
        return action->text();
    ADD_FAILURE() << "no text on " << object->objectName().toStdString();
    return {};
}

QString toolTipOf(const QObject* object) {
    if (auto* action = qobject_cast<const QAction*>(object))
        return action->toolTip();
    return static_cast<const QWidget*>(object)->toolTip();
}

QStringList labelNames() {
    QStringList names;
    for (int i = 1; i <= 32; ++i)
        names << "Label" + QString::number(i);
    return names;
}

// The main window with every control the language file reaches, spread over nested pages,
// plus a separate window parented to it that holds controls of the same names.
struct MainWindow {
    FakeWindow w{"TForm1"};
    QWidget* stray = nullptr;

    MainWindow() {
        stray = new QWidget(w.root(), Qt::Window);
        for (const char* name : {"BExit", "Label30", "XiButton6"}) {
            auto* other = new QLabel(english, stray);
            other->setObjectName(name);
            other->setToolTip(english);
        }
        w.setTitleAsToolButton(true);
        w.addAll({"BTitle", "BMini", "BExit", "ComboBoxEx1", "XiButton7", "ComboBox14"});
        w.addList();
        QTabWidget* pages = w.addTabs("PageControl1", 4, w.root());
        QTabWidget* inner = w.addTabs("PageControl2", 2, pages->widget(1));
        QWidget* buckets[] = {pages->widget(0), inner->widget(0), inner->widget(1),
                              pages->widget(2), pages->widget(3)};
        int b = 0;
        auto spread = [&](const QStringList& names) {
            for (const QString& name : names)
                w.add(name, buckets[b++ % 5]);
        };
        spread(labelNames());
        for (int i = 1; i <= 4; ++i)
            spread({"LabeledEdit" + QString::number(i)});
        for (int i = 1; i <= 6; ++i)
            spread({"XiButton" + QString::number(i), "GroupBox" + QString::number(i)});
        for (int i = 1; i <= 16; ++i) {
            if (i == 14 || i == 5)
                continue;
            spread({"CheckBox" + QString::number(i), "ComboBox" + QString::number(i)});
        }
        spread({"CheckBox14", "CheckBox5", "ComboBox5"});
        spread({"TrackBar3", "TrackBar4", "TrackBar5", "TrackBar6", "TrackBar8", "TrackBar9"});
        spread({"StatusBar1Panel0", "StatusBar1Panel1", "StatusBar1Panel2"});
        w.addMenu({"Addgames1", "Deleteitem1", "Clearlist2", "-", "Deletegameprofile1", "-",
                   "Gameproperties1"});
    }
};

// One check: entry `entry` of `section` should show up at `probe` ("text:Label20",
// "tip:CheckBox2", "item:ComboBox3:0", "tab:PageControl1:0", "column:ListView1:1",
// "message:0").
struct Probe {
    QString section;
    int entry;
    QString probe;
};

QString read(const FakeWindow& w, const QString& probe) {
    const QStringList parts = probe.split(':');
    const QString& kind = parts[0];
    if (kind == "message")
        return message(parts[1].toInt());
    QObject* object = w[parts[1]];
    if (!object) {
        ADD_FAILURE() << "no control " << parts[1].toStdString();
        return {};
    }
    if (kind == "text")
        return textOf(object);
    if (kind == "tip")
        return toolTipOf(object);
    const int index = parts[2].toInt();
    if (kind == "item")
        return static_cast<QComboBox*>(object)->itemText(index);
    if (kind == "tab")
        return static_cast<QTabWidget*>(object)->tabText(index);
    if (kind == "column")
        return static_cast<QTreeView*>(object)
            ->model()
            ->headerData(index, Qt::Horizontal)
            .toString();
    ADD_FAILURE() << "unknown probe " << probe.toStdString();
    return {};
}

class Probes {
public:
    // Entries 1, 2, ... of the section, one probe list each; "|" separates controls that share
    // one entry, "-" is an entry that shows nowhere.
    void section(const QString& section, const QStringList& entries) {
        int k = 0;
        for (const QString& entry : entries) {
            ++k;
            if (entry == "-")
                continue;
            for (const QString& probe : entry.split('|'))
                probes_.push_back({section, k, probe});
        }
    }
    const std::vector<Probe>& all() const { return probes_; }

private:
    std::vector<Probe> probes_;
};

QStringList prefixed(const QString& prefix, const QString& names) {
    QStringList out;
    for (const QString& entry : names.split(' ')) {
        if (entry == "-") {
            out << entry;
            continue;
        }
        QStringList alts;
        for (const QString& name : entry.split('|'))
            alts << prefix + name;
        out << alts.join('|');
    }
    return out;
}

QStringList items(const QString& combo, int count) {
    QStringList out;
    for (int i = 0; i < count; ++i)
        out << QStringLiteral("item:%1:%2").arg(combo).arg(i);
    return out;
}

// What the main window should show, entry by entry, written out from the window designs.
std::vector<Probe> mainWindowProbes() {
    Probes p;
    p.section("[Language]", {"item:ComboBoxEx1:1"});
    p.section("[List]", {"column:ListView1:1", "column:ListView1:2", "column:ListView1:3"});
    p.section("[Pages]", {"tab:PageControl1:0", "tab:PageControl1:1", "tab:PageControl1:2",
                          "tab:PageControl1:3", "tab:PageControl2:0", "tab:PageControl2:1"});
    p.section("[Panels]", prefixed("text:", "Label20 Label18 Label19 Label8 Label28 Label23 "
                                            "Label22 Label26 Label25 Label21|Label24 Label30"));
    p.section("[Fields]", {"text:LabeledEdit1", "text:LabeledEdit2"});
    p.section("[Labels]",
              prefixed("text:", "Label1 Label6 Label5 Label7 Label9 Label3 Label27 Label29 "
                                "Label16 Label4 Label11 Label12 Label14 Label13 Label2 Label15 "
                                "Label10 Label17 Label31 Label32"));
    p.section("[Buttons]", prefixed("text:", "XiButton1 XiButton2 "
                                             "XiButton3|XiButton4|XiButton5|XiButton6 XiButton7"));
    p.section("[Checkboxes]",
              prefixed("text:", "CheckBox2 CheckBox4 CheckBox6 CheckBox9 CheckBox8 CheckBox10 "
                                "CheckBox11 CheckBox7 CheckBox1 CheckBox12 CheckBox3 CheckBox5 "
                                "CheckBox13 CheckBox14 CheckBox15"));
    p.section("[Comboboxes]", items("ComboBox3", 6) + items("ComboBox2", 8) +
                                  items("ComboBox1", 6) + items("ComboBox6", 5) +
                                  items("ComboBox7", 4) + items("ComboBox11", 2) +
                                  items("ComboBox12", 1) + items("ComboBox14", 6) +
                                  items("ComboBox15", 10) + items("ComboBox16", 2));
    p.section("[Frames]",
              prefixed("text:", "GroupBox4 GroupBox1 GroupBox2 GroupBox3 GroupBox5 GroupBox6"));
    p.section("[Statusbar]", {"text:StatusBar1Panel0", "text:StatusBar1Panel2"});
    p.section("[Menu]", prefixed("text:", "Addgames1 Deleteitem1 Clearlist2 Deletegameprofile1 "
                                          "Gameproperties1"));
    QStringList messages;
    for (int n = 0; n < MessageCount; ++n)
        messages << "message:" + QString::number(n);
    p.section("[Messages]", messages);
    p.section("[Hints]",
              prefixed("tip:", "LabeledEdit1|LabeledEdit2 ComboBox3 CheckBox2 CheckBox4 "
                               "LabeledEdit3|LabeledEdit4 CheckBox6 ComboBox6 CheckBox12 "
                               "TrackBar5 ComboBox8 ComboBox9 CheckBox3 CheckBox5 TrackBar6 "
                               "TrackBar8 TrackBar9 ComboBox13 CheckBox13 CheckBox9 CheckBox8 "
                               "TrackBar4 TrackBar3 CheckBox7 XiButton7 ComboBoxEx1 - BMini BExit "
                               "ComboBox14") +
                  QStringList{"-"});
    return p.all();
}

QString entryText(const QString& section, int k) {
    return section.mid(1, section.size() - 2) + " " + QString::number(k);
}

// A language file whose every entry names its section and number ("Panels 7"). Sections in
// `omit` are left out; `counts` cuts sections short. Lines start with assorted characters and
// end with CR LF or LF; a header in the wrong letter case stands before the real one.
QByteArray generatedFile(const QStringList& omit = {}, const QHash<QString, int>& counts = {}) {
    static const char firsts[] = {' ', '#', '\t', 'x', ';'};
    QByteArray out = " header of a generated file\r\n [hints]\r\n decoy\n";
    int n = 0;
    auto line = [&](const QString& text) {
        out += firsts[n % 5];
        out += text.toUtf8();
        out += n % 2 ? "\r\n" : "\n";
        ++n;
    };
    for (const LanguageSection& s : languageSections) {
        const QString header = QString::fromLatin1(s.header);
        if (omit.contains(header))
            continue;
        line(header + (n % 3 ? "" : " and words after it"));
        const int count = counts.value(header, s.entries);
        for (int k = 1; k <= count; ++k)
            line(entryText(header, k));
    }
    return out;
}

void applyMain(MainWindow& main, const QByteArray& file, int languageIndex) {
    const ApplyResult result =
        applyTexts(Form::Main, main.w.root(), LanguageText(parseLanguageFile(file)), languageIndex);
    EXPECT_TRUE(result.unmatched.isEmpty()) << result.unmatched.join(' ').toStdString();
}

class ApplyLanguage : public ::testing::Test {
protected:
    void SetUp() override { initMessageTable(); }
    void TearDown() override {
        initMessageTable();
        setLanguageIndex(0);
    }
};

} // namespace

TEST_F(ApplyLanguage, EveryEntryReachesItsControlOfTheMainWindow) {
    MainWindow main;
    auto combo = [&](const char* name) { return static_cast<QComboBox*>(main.w[name]); };
    for (const char* name : {"ComboBox1", "ComboBox2", "ComboBox3", "ComboBox6", "ComboBox7",
                             "ComboBox12", "ComboBox14", "ComboBox15"})
        combo(name)->setCurrentIndex(3);
    combo("ComboBox11")->setCurrentIndex(1);
    combo("ComboBox16")->setCurrentIndex(1);
    int reactions = 0;
    QStringList announced;
    for (QComboBox* c : main.w.root()->findChildren<QComboBox*>()) {
        QObject::connect(c, &QComboBox::activated, [&] { ++reactions; });
        QObject::connect(c, &QComboBox::currentIndexChanged,
                         [&announced, c] { announced << c->objectName(); });
    }

    applyMain(main, generatedFile(), 1);

    for (const Probe& p : mainWindowProbes()) {
        SCOPED_TRACE(p.probe.toStdString());
        EXPECT_EQ(read(main.w, p.probe), entryText(p.section, p.entry));
    }

    // Texts that are the same in every language.
    EXPECT_EQ(textOf(main.w["BTitle"]), english);
    EXPECT_EQ(textOf(main.w["LabeledEdit3"]), english);
    EXPECT_EQ(read(main.w, "column:ListView1:0"), "Path");
    for (int i = 1; i < 8; ++i)
        EXPECT_EQ(combo("ComboBox12")->itemText(i), english + QString::number(i));
    EXPECT_EQ(combo("ComboBox8")->itemText(0), english + "0");
    for (QWidget* other : main.stray->findChildren<QWidget*>()) {
        EXPECT_EQ(other->toolTip(), english);
        EXPECT_EQ(static_cast<QLabel*>(other)->text(), english);
    }
    for (QWidget* widget : main.w.root()->findChildren<QWidget*>())
        EXPECT_NE(widget->toolTip(), "Hints 26") << widget->objectName().toStdString();

    // Lists stored by item index show their first item; skins and ports are selected elsewhere.
    for (const char* name : {"ComboBox1", "ComboBox2", "ComboBox3", "ComboBox6", "ComboBox7",
                             "ComboBox11", "ComboBox12"})
        EXPECT_EQ(combo(name)->currentIndex(), 0) << name;
    EXPECT_EQ(combo("ComboBox14")->currentIndex(), 3);
    EXPECT_EQ(combo("ComboBox15")->currentIndex(), 3);
    EXPECT_EQ(combo("ComboBox16")->currentIndex(), 1);
    EXPECT_EQ(combo("ComboBoxEx1")->currentIndex(), 1);
    EXPECT_EQ(reactions, 0) << "a selection made by program runs no reaction";
    // A model behind a list hears of its new selection; the language selector's stays quiet.
    EXPECT_EQ(announced, (QStringList{"ComboBox3", "ComboBox2", "ComboBox1", "ComboBox6",
                                      "ComboBox7", "ComboBox11", "ComboBox12"}));
}

TEST_F(ApplyLanguage, EnglishInForceOnlyNamesTheTranslation) {
    MainWindow main;
    applyMain(main, generatedFile(), 0);
    auto* selector = static_cast<QComboBox*>(main.w["ComboBoxEx1"]);
    EXPECT_EQ(selector->itemText(1), "Language 1");
    EXPECT_EQ(selector->currentIndex(), 0);
    EXPECT_EQ(textOf(main.w["Label20"]), english);
    EXPECT_EQ(static_cast<QComboBox*>(main.w["ComboBox3"])->itemText(0), english + "0");
    EXPECT_EQ(message(8), "The list of games has been loaded.");
}

TEST_F(ApplyLanguage, MissingAndShortSectionsKeepEnglishButEmptyEntriesApply) {
    MainWindow main;
    // [Labels], [Language] and [Extras] are missing; [Hints] stops after entry 3 at the end of
    // the file.
    QByteArray file = generatedFile({"[Labels]", "[Language]", "[Extras]"}, {{"[Hints]", 3}});
    // An entry that exists but is empty.
    file = QString::fromUtf8(file)
               .replace(QRegularExpression(QStringLiteral("^.Checkboxes 3(?=\r?$)"),
                                           QRegularExpression::MultilineOption),
                        QStringLiteral(" "))
               .toUtf8();
    ASSERT_FALSE(file.contains("Checkboxes 3"));
    applyMain(main, file, 1);

    EXPECT_EQ(static_cast<QComboBox*>(main.w["ComboBoxEx1"])->itemText(1), "???");
    EXPECT_EQ(textOf(main.w["Label1"]), english);
    EXPECT_EQ(textOf(main.w["Label32"]), english);
    EXPECT_EQ(textOf(main.w["Label20"]), "Panels 1");
    EXPECT_EQ(textOf(main.w["CheckBox6"]), "");
    EXPECT_EQ(textOf(main.w["CheckBox9"]), "Checkboxes 4");
    EXPECT_EQ(toolTipOf(main.w["CheckBox2"]), "Hints 3");
    EXPECT_EQ(toolTipOf(main.w["CheckBox4"]), english);
    EXPECT_EQ(toolTipOf(main.w["CheckBox6"]), english);
    EXPECT_EQ(toolTipOf(main.w["ComboBox14"]), english);
    EXPECT_EQ(message(14), "Messages 15");
    EXPECT_EQ(message(Extra::AddFolder), "Add folder...");

    // The later texts come from [Extras], after the designed sections.
    applyMain(main, generatedFile(), 1);
    EXPECT_EQ(message(Extra::AddFolder), "Extras 1");
}

TEST_F(ApplyLanguage, TruncatedFilesNeverBlankATextOrCrash) {
    QFile shipped(VARNIX_SOURCE_DIR "/res/lang/Lang.dat");
    ASSERT_TRUE(shipped.open(QIODevice::ReadOnly));
    const QByteArray full = shipped.readAll();
    const std::vector<Probe> probes = mainWindowProbes();

    // Cut after every complete line: what the file still holds applies, the rest stays English.
    for (qsizetype cut = full.indexOf('\n'); cut >= 0; cut = full.indexOf('\n', cut + 1)) {
        MainWindow main;
        applyMain(main, full.left(cut + 1), 1);
        for (const Probe& p : probes) {
            if (p.probe.startsWith("message:"))
                continue;
            EXPECT_FALSE(read(main.w, p.probe).isEmpty()) << cut << " " << p.probe.toStdString();
        }
    }
    // Cut anywhere, even inside a character: reading stays safe.
    for (qsizetype cut = 0; cut <= full.size(); cut += 7) {
        const LanguageText text(parseLanguageFile(full.left(cut)));
        for (const LanguageSection& s : languageSections)
            (void)text.entry(s.header, s.entries);
    }
}

TEST_F(ApplyLanguage, ShippedTranslationFitsTheMainWindow) {
    MainWindow main;
    QFile shipped(VARNIX_SOURCE_DIR "/res/lang/Lang.dat");
    ASSERT_TRUE(shipped.open(QIODevice::ReadOnly));
    const ApplyResult result = applyTexts(Form::Main, main.w.root(),
                                          LanguageText(parseLanguageFile(shipped.readAll())), 1);
    EXPECT_TRUE(result.unmatched.isEmpty());
    EXPECT_EQ(result.kept, 0);
    EXPECT_EQ(static_cast<QComboBox*>(main.w["ComboBoxEx1"])->itemText(1), "De");
    EXPECT_EQ(textOf(main.w["XiButton2"]), "Profil speichern");
    EXPECT_EQ(message(3), "Es wird nur der Sega Saturn unterstützt.");
    EXPECT_TRUE(toolTipOf(main.w["LabeledEdit1"])
                    .contains("„" + QDir::toNativeSeparators("Core/firmware") + "“"));
    EXPECT_EQ(toolTipOf(main.w["ComboBox14"]),
              "Wählen Sie einen Eintrag der Liste, um das Design der Bedienfelder zu ändern.");
}

namespace {

// Installs a generated language through the start-up path, with a main window to take it.
struct LoadedLanguage {
    testsupport::TempFolder app;
    MainWindow main;

    explicit LoadedLanguage(int languageIndex, const QByteArray& file = generatedFile()) {
        app.write("Res/Lang.dat", file);
        setLanguageIndex(languageIndex);
        loadLanguage(app.path(), main.w.root());
    }
};

// The properties window: the panel holds the ten labelled edits with other controls between
// them, in child order.
struct PropertiesWindow {
    FakeWindow w{"TForm2"};
    PropertiesWindow() {
        w.addAll({"BTitle", "BExit"});
        auto* panel = new QWidget(w.root());
        panel->setObjectName("Xpanel15");
        w.add("Label1", panel);
        for (int i = 1; i <= 10; ++i) {
            w.add("LabeledEdit" + QString::number(i), panel);
            if (i == 3)
                w.addAll({"XiButton1", "Label2"}, panel);
        }
        w.add("XiButton6");
    }
};

} // namespace

TEST_F(ApplyLanguage, PropertiesWindowTakesItsEntriesOnEveryActivation) {
    LoadedLanguage language(1);
    ASSERT_TRUE(languageLoaded());
    PropertiesWindow form2;
    applyLanguageToPropertiesWindow(form2.w.root());

    for (int i = 1; i <= 10; ++i)
        EXPECT_EQ(textOf(form2.w["LabeledEdit" + QString::number(i)]),
                  "Fields " + QString::number(i + 2));
    EXPECT_EQ(textOf(form2.w["Label1"]), "Panels 12");
    EXPECT_EQ(textOf(form2.w["Label2"]), english);
    EXPECT_EQ(textOf(form2.w["XiButton1"]), english);
    EXPECT_EQ(textOf(form2.w["XiButton6"]), "Buttons 5");
    EXPECT_EQ(textOf(form2.w["BTitle"]), "Menu 5");
    EXPECT_EQ(toolTipOf(form2.w["BExit"]), "Hints 28");
    EXPECT_EQ(toolTipOf(form2.w["XiButton6"]), english);
}

TEST_F(ApplyLanguage, CdWindowTakesItsTitleAndLaunchButton) {
    LoadedLanguage language(1);
    FakeWindow form3("TForm3");
    form3.addAll({"BTitle", "XiButton6", "ComboBox1"});
    applyLanguageToCdWindow(form3.root());
    EXPECT_EQ(textOf(form3["BTitle"]), "Panels 13");
    EXPECT_EQ(textOf(form3["XiButton6"]), "Buttons 6");
    EXPECT_EQ(toolTipOf(form3["XiButton6"]), "Hints 30");
    EXPECT_EQ(static_cast<QComboBox*>(form3["ComboBox1"])->itemText(0), english + "0");
}

TEST_F(ApplyLanguage, SmallWindowsStayEnglishWhileEnglishIsInForce) {
    LoadedLanguage language(0);
    EXPECT_EQ(static_cast<QComboBox*>(language.main.w["ComboBoxEx1"])->itemText(1), "Language 1");
    PropertiesWindow form2;
    applyLanguageToPropertiesWindow(form2.w.root());
    EXPECT_EQ(textOf(form2.w["LabeledEdit1"]), english);
    EXPECT_EQ(textOf(form2.w["BTitle"]), english);
}

TEST_F(ApplyLanguage, StartUpLoadsTheFlagAndTheFileFromTheResFolder) {
    {
        LoadedLanguage language(1);
        QFile::copy(VARNIX_SOURCE_DIR "/res/lang/lang_pic.ico",
                    language.app.file("Res/lang_pic.ico"));
        MainWindow again;
        loadLanguage(language.app.path(), again.w.root());
        auto* selector = static_cast<QComboBox*>(again.w["ComboBoxEx1"]);
        EXPECT_FALSE(selector->itemIcon(1).isNull());
        EXPECT_TRUE(selector->itemIcon(0).isNull());
        EXPECT_FALSE(languageIcon().isNull());
        EXPECT_EQ(textOf(again.w["Label20"]), "Panels 1");
    }
    {
        // A flag but no language file: the second entry shows the flag and stays "???".
        testsupport::TempFolder app;
        QFile::copy(VARNIX_SOURCE_DIR "/res/lang/lang_pic.ico", app.file("lang_pic.ico"));
        app.mkdir("Res");
        QFile::rename(app.file("lang_pic.ico"), app.file("Res/lang_pic.ico"));
        MainWindow main;
        setLanguageIndex(1);
        loadLanguage(app.path(), main.w.root());
        auto* selector = static_cast<QComboBox*>(main.w["ComboBoxEx1"]);
        EXPECT_FALSE(languageLoaded());
        EXPECT_EQ(selector->itemText(1), "???");
        EXPECT_FALSE(selector->itemIcon(1).isNull());
        EXPECT_EQ(selector->currentIndex(), 0);
        EXPECT_EQ(textOf(main.w["Label20"]), english);
    }
    {
        // A damaged flag is no flag.
        testsupport::TempFolder app;
        app.write("Res/lang_pic.ico", "not an icon");
        MainWindow main;
        loadLanguage(app.path(), main.w.root());
        EXPECT_TRUE(static_cast<QComboBox*>(main.w["ComboBoxEx1"])->itemIcon(1).isNull());
        EXPECT_TRUE(languageIcon().isNull());
    }
}

// With the translation in force the toolkit speaks the file's locale too (file dialogs and
// standard buttons), and only then; a locale that is no locale name loads nothing.
TEST_F(ApplyLanguage, ToolkitTakesTheTranslationsLocale) {
    const QByteArray withLocale = " [Locale]\r\n de\r\n";
    {
        LoadedLanguage language(1, withLocale);
        EXPECT_TRUE(toolkitTranslationFile().endsWith("qtbase_de.qm"));
        EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), "Abbrechen");
    }
    {
        LoadedLanguage language(0, withLocale);
        EXPECT_EQ(toolkitTranslationFile(), "");
        EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), "Cancel");
    }
    for (const QByteArray& odd :
         {QByteArray(" [Locale]\r\n ../de\r\n"), QByteArray(" [List]\r\n")}) {
        LoadedLanguage language(1, odd);
        EXPECT_EQ(toolkitTranslationFile(), "");
    }
    EXPECT_EQ(localeName(LanguageText(parseLanguageFile(" [Locale]\r\n  pt_BR \r\n"))), "pt_BR");
}
