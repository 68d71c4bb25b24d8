#include "controls/labeled_edit.h"
#include "controls/xi_button.h"
#include "controls/xi_panel.h"
#include "i18n/messages.h"
#include "settings/settings_model.h"
#include "settings/settings_panel.h"
#include "test_support.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

#include <gtest/gtest.h>

using settings::Ctl;
using settings::SettingsModel;
using settings::SettingsPanel;

namespace {

// The panel as the main window holds it: 290 x 442, Tahoma (or the sans-serif fallback) at
// 11 pixels.
struct PanelFixture : ::testing::Test {
    SettingsModel model; // outlives the panel
    QWidget window;
    SettingsPanel* panel = nullptr;

    void SetUp() override {
        i18n::initMessageTable(); // the panel's later texts come from the table
        QFont font(QStringLiteral("Tahoma"));
        font.setStyleHint(QFont::SansSerif);
        font.setPixelSize(11);
        window.setFont(font);
        window.resize(694, 503);
        panel = new SettingsPanel(&model, &window);
        panel->setGeometry(395, 37, 290, 442);
    }

    template <typename T> T* find(const char* name) const {
        return panel->findChild<T*>(QString::fromLatin1(name));
    }
    QString parentName(const char* name) const {
        QObject* child = panel->findChild<QObject*>(QString::fromLatin1(name));
        return child && child->parent() ? child->parent()->objectName() : QStringLiteral("?");
    }
    // What the list control does on the user's choice: select, then report the activation.
    static void choose(QComboBox* list, int index) {
        list->setCurrentIndex(index);
        emit list->activated(index);
    }
};

using SettingsPanelTest = PanelFixture;

TEST_F(SettingsPanelTest, EveryControlExistsWithItsKindAndParent) {
    struct Expect {
        const char* name;
        const char* kind;
        const char* parent;
    };
    const Expect table[] = {
        {"TabSheet1", "QWidget", ""},
        {"Xpanel1", "controls::TXiPanel", "TabSheet1"},
        {"Label20", "QLabel", "Xpanel1"},
        {"LabeledEdit1", "controls::LabeledEdit", "Xpanel1"},
        {"XiButton6", "controls::TXiButton", "Xpanel1"},
        {"XiButton5", "controls::TXiButton", "Xpanel1"},
        {"ComboBox3", "QComboBox", "Xpanel1"},
        {"Label1", "QLabel", "Xpanel1"},
        {"CheckBox2", "QCheckBox", "Xpanel1"},
        {"Label18", "QLabel", "Xpanel2"},
        {"CheckBox4", "QCheckBox", "Xpanel2"},
        {"ComboBox2", "QComboBox", "Xpanel2"},
        {"Label19", "QLabel", "Xpanel3"},
        {"ComboBox1", "QComboBox", "Xpanel3"},
        {"XiButton3", "controls::TXiButton", "Xpanel3"},
        {"XiButton4", "controls::TXiButton", "Xpanel3"},
        {"Label8", "QLabel", "Xpanel4"},
        {"CheckBox6", "QCheckBox", "Xpanel4"},
        {"Xpanel5", "controls::TXiPanel", "TabSheet2"},
        {"PageControl2", "QTabWidget", "TabSheet2"},
        {"Xpanel6", "controls::TXiPanel", "TabSheet5"},
        {"Xpanel7", "controls::TXiPanel", "TabSheet6"},
        {"TrackBar5", "settings::TrackBar", "Xpanel5"},
        {"Edit1", "QLineEdit", "Xpanel5"},
        {"GroupBox6", "QGroupBox", "Xpanel6"},
        {"Label3", "QLabel", "GroupBox6"},
        {"Label27", "QLabel", "GroupBox6"},
        {"Label29", "QLabel", "GroupBox6"},
        {"TrackBar9", "settings::TrackBar", "GroupBox6"},
        {"Edit3", "QLineEdit", "Xpanel7"},
        {"Edit5", "QLineEdit", "Xpanel7"},
        {"Xpanel8", "controls::TXiPanel", "TabSheet3"},
        {"Label22", "QLabel", "Xpanel8"},
        {"Edit4", "QLineEdit", "Xpanel8"},
        {"Label12", "QLabel", "Xpanel9"},
        {"Label21", "QLabel", "Xpanel10"},
        {"GroupBox4", "QGroupBox", "Xpanel10"},
        {"Label15", "QLabel", "GroupBox4"},
        {"Xpanel11", "controls::TXiPanel", "TabSheet4"},
        {"Edit2", "QLineEdit", "Xpanel11"},
        {"ComboBox4", "QComboBox", "Xpanel12"},
        {"Label31", "QLabel", "Xpanel12"},
        {"Label32", "QLabel", "Xpanel12"},
        {"CheckBox15", "QCheckBox", "Xpanel12"},
        {"Label24", "QLabel", "Xpanel13"},
        {"GroupBox1", "QGroupBox", "Xpanel13"},
        {"GroupBox2", "QGroupBox", "Xpanel13"},
        {"Label10", "QLabel", "GroupBox2"},
    };
    for (const Expect& e : table) {
        SCOPED_TRACE(e.name);
        QObject* object = panel->findChild<QObject*>(QString::fromLatin1(e.name));
        ASSERT_NE(object, nullptr);
        EXPECT_TRUE(object->inherits(e.kind));
        if (*e.parent) {
            EXPECT_EQ(parentName(e.name), QString::fromLatin1(e.parent));
        }
    }
    // Every control of the model has a widget under its design name, and every track bar its
    // value box.
    for (int i = 0; i < settings::CtlCount; ++i) {
        const auto ctl = static_cast<Ctl>(i);
        ASSERT_NE(panel->widgetFor(ctl), nullptr);
        EXPECT_EQ(panel->findChild<QWidget*>(panel->widgetFor(ctl)->objectName()),
                  panel->widgetFor(ctl));
    }
    for (const char* edit :
         {"Edit1", "Edit2", "Edit3", "Edit4", "Edit5", "Edit6", "Edit7", "Edit8", "Edit9"}) {
        ASSERT_NE(find<QLineEdit>(edit), nullptr) << edit;
        EXPECT_TRUE(find<QLineEdit>(edit)->isReadOnly()) << edit;
    }
    EXPECT_EQ(find<QLabel>("Label12")->text(), "Output mode:");
    EXPECT_EQ(find<QCheckBox>("CheckBox14")->text(), QString::fromUtf8("Multitap №1"));
    EXPECT_EQ(find<controls::LabeledEdit>("LabeledEdit3")->caption(), "KoF 95 ROM ");

    // The skin walk: panels directly on the four pages, each "Path" button directly in a panel.
    EXPECT_EQ(panel->objectName(), "PageControl1");
    ASSERT_EQ(panel->count(), 4);
    const QStringList tabs = {"General", "Video", "Audio", "Controls"};
    int panels = 0;
    QStringList buttons;
    for (int page = 0; page < panel->count(); ++page) {
        EXPECT_EQ(panel->tabText(page), tabs[page]);
        for (QObject* child : panel->widget(page)->children()) {
            if (!child->inherits("controls::TXiPanel"))
                continue;
            ++panels;
            for (QObject* inner : child->children())
                if (inner->inherits("controls::TXiButton"))
                    buttons << inner->objectName();
        }
    }
    EXPECT_EQ(panels, 11);
    buttons.sort();
    EXPECT_EQ(buttons, QStringList({"XiButton3", "XiButton4", "XiButton5", "XiButton6"}));
    auto* inner = find<QTabWidget>("PageControl2");
    ASSERT_EQ(inner->count(), 2);
    EXPECT_EQ(inner->tabText(0), "Image enhancement");
    EXPECT_EQ(inner->tabText(1), "Filters");
    EXPECT_EQ(find<QGroupBox>("GroupBox6")->title(),
              "TV CRT shaders (for \"goat\" OGL shader only)");
    EXPECT_TRUE(find<QPlainTextEdit>("Memo1")->isReadOnly());
    EXPECT_TRUE(find<QPlainTextEdit>("Memo2")->isReadOnly());
}

TEST_F(SettingsPanelTest, StartsWithTheDesignState) {
    EXPECT_EQ(find<controls::LabeledEdit>("LabeledEdit1")->text(), "sega_101.bin");
    EXPECT_EQ(find<controls::LabeledEdit>("LabeledEdit4")->text(), "mpr-19367-mx.ic1");
    EXPECT_TRUE(find<QCheckBox>("CheckBox2")->isChecked());
    EXPECT_FALSE(find<QCheckBox>("CheckBox1")->isChecked());
    EXPECT_EQ(find<QComboBox>("ComboBox6")->currentText(), "Aspect (multiple of 2)");
    EXPECT_EQ(find<QComboBox>("ComboBox10")->currentText(), "48000 Hz");
    EXPECT_EQ(find<QComboBox>("ComboBox9")->count(), 11);
    EXPECT_EQ(find<QComboBox>("ComboBox4")->currentText(), "1");
    EXPECT_EQ(find<QComboBox>("ComboBox15")->currentIndex(), model.index(Ctl::ComboBox15));
    for (const char* name : {"ComboBox1", "ComboBox4", "ComboBox9", "ComboBox15"})
        EXPECT_FALSE(find<QComboBox>(name)->isEditable()) << name;

    auto* scale = find<QSlider>("TrackBar5");
    EXPECT_EQ(scale->minimum(), 1);
    EXPECT_EQ(scale->maximum(), 10);
    EXPECT_EQ(scale->orientation(), Qt::Horizontal);
    EXPECT_EQ(find<QLineEdit>("Edit1")->text(), "x1");
    EXPECT_EQ(find<QSlider>("TrackBar4")->minimum(), -100);
    EXPECT_EQ(find<QSlider>("TrackBar7")->value(), 100);
    EXPECT_EQ(find<QLineEdit>("Edit6")->text(), "0.5");
    EXPECT_EQ(find<QLineEdit>("Edit3")->text(), "50%");

    // Disabled at start: the default region, both filter amounts, the whole CRT group except
    // its frame.
    EXPECT_FALSE(find<QComboBox>("ComboBox2")->isEnabled());
    for (const char* name : {"TrackBar3", "Edit3", "TrackBar4", "Edit5", "CheckBox3", "CheckBox5",
                             "ComboBox5", "TrackBar6", "Edit6", "TrackBar8", "Edit8", "TrackBar9",
                             "Edit9", "Label3", "Label27", "Label29"})
        EXPECT_FALSE(find<QWidget>(name)->isEnabled()) << name;
    EXPECT_TRUE(find<QGroupBox>("GroupBox6")->isEnabled());
    EXPECT_TRUE(find<QComboBox>("ComboBox9")->isEnabled());

    // Hints reach the controls they describe.
    EXPECT_EQ(find<QComboBox>("ComboBox3")->toolTip(), "Set the default BIOS language.");
    EXPECT_EQ(find<QSlider>("TrackBar9")->toolTip(),
              "Transparency of otherwise-opaque mask areas.");
    for (const char* name :
         {"LabeledEdit1", "LabeledEdit2", "LabeledEdit3", "LabeledEdit4", "CheckBox12", "TrackBar5",
          "ComboBox8", "ComboBox9", "CheckBox13", "TrackBar4", "TrackBar3", "CheckBox7"})
        EXPECT_FALSE(find<QWidget>(name)->toolTip().isEmpty()) << name;
}

TEST_F(SettingsPanelTest, ShowsEveryChangeOfTheModel) {
    model.setChecked(Ctl::CheckBox1, true);
    EXPECT_TRUE(find<QCheckBox>("CheckBox1")->isChecked());

    model.setPosition(Ctl::TrackBar5, 3);
    EXPECT_EQ(find<QSlider>("TrackBar5")->value(), 3);
    EXPECT_EQ(find<QLineEdit>("Edit1")->text(), "x3");
    model.setPosition(Ctl::TrackBar6, -200);
    EXPECT_EQ(find<QLineEdit>("Edit6")->text(), "-2");

    model.setIndex(Ctl::ComboBox8, 2);
    EXPECT_EQ(find<QComboBox>("ComboBox8")->currentText(), "hq3x");
    model.setIndex(Ctl::ComboBox8, -1);
    EXPECT_EQ(find<QComboBox>("ComboBox8")->currentIndex(), -1);
    EXPECT_EQ(find<QComboBox>("ComboBox8")->currentText(), "");

    model.setText(Ctl::LabeledEdit2, "bios/usa.bin");
    EXPECT_EQ(find<QLineEdit>("LabeledEdit2")->text(), "bios/usa.bin");

    // A whole configuration: checks, lists, bars and the enabling reactions it runs.
    QStringList lines = model.collectSettings();
    const auto set = [&lines](const QString& key, const QString& value) {
        for (QString& line : lines)
            if (line.startsWith(key + ' '))
                line = key + ' ' + value;
    };
    set("ss.region_autodetect", "0");
    set("ss.shader", "goat");
    set("ss.scanlines", "-30");
    set("ss.stretch", "0");
    set("ss.yscale", "2.7");
    set("ss.cart", "Auto");
    ASSERT_FALSE(model.applySettings(lines));
    EXPECT_FALSE(find<QCheckBox>("CheckBox4")->isChecked());
    EXPECT_TRUE(find<QComboBox>("ComboBox2")->isEnabled());
    EXPECT_EQ(find<QComboBox>("ComboBox9")->currentText(), "goat");
    EXPECT_TRUE(find<QLabel>("Label27")->isEnabled());
    EXPECT_TRUE(find<QLineEdit>("Edit9")->isEnabled());
    EXPECT_TRUE(find<QCheckBox>("CheckBox10")->isChecked());
    EXPECT_TRUE(find<QSlider>("TrackBar4")->isEnabled());
    EXPECT_EQ(find<QLineEdit>("Edit5")->text(), "-30");
    EXPECT_EQ(find<QComboBox>("ComboBox6")->currentText(), "Widescreen (16:9)");
    EXPECT_EQ(find<QLineEdit>("Edit1")->text(), "x2");
    EXPECT_EQ(find<QComboBox>("ComboBox1")->currentIndex(), -1);
}

TEST_F(SettingsPanelTest, ForwardsTheUsersActions) {
    auto* box = find<QCheckBox>("CheckBox8");
    QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2));
    EXPECT_TRUE(model.checked(Ctl::CheckBox8));
    EXPECT_TRUE(find<QSlider>("TrackBar3")->isEnabled());
    EXPECT_TRUE(find<QLineEdit>("Edit3")->isEnabled());

    auto* bar = find<QSlider>("TrackBar3");
    bar->setValue(1);
    EXPECT_EQ(model.position(Ctl::TrackBar3), 1);
    EXPECT_EQ(find<QLineEdit>("Edit3")->text(), "1%");
    bar->setFocus();
    QTest::keyClick(bar, Qt::Key_End);
    EXPECT_EQ(model.position(Ctl::TrackBar3), 100);
    EXPECT_EQ(find<QLineEdit>("Edit3")->text(), "100%");

    // The shader: only the user's choice runs the reaction; a choice by code does not.
    auto* shader = find<QComboBox>("ComboBox9");
    shader->setCurrentIndex(10);
    EXPECT_EQ(model.index(Ctl::ComboBox9), 10);
    EXPECT_FALSE(find<QLabel>("Label29")->isEnabled());
    choose(shader, 10);
    for (const char* name :
         {"CheckBox3", "ComboBox5", "TrackBar8", "Edit8", "Label3", "Label27", "Label29"})
        EXPECT_TRUE(find<QWidget>(name)->isEnabled()) << name;
    QTest::keyClick(shader, Qt::Key_Home); // the keyboard is a user's choice too
    EXPECT_EQ(model.index(Ctl::ComboBox9), 0);
    EXPECT_FALSE(find<QLabel>("Label3")->isEnabled());
    EXPECT_FALSE(find<QSlider>("TrackBar6")->isEnabled());

    // Virtual ports: the device lists follow the chosen port.
    auto* port = find<QComboBox>("ComboBox4");
    auto* device = find<QComboBox>("ComboBox15");
    auto* mode = find<QComboBox>("ComboBox16");
    choose(port, 2);
    choose(device, 3);
    choose(mode, 1);
    EXPECT_EQ(model.portDevice(2), 3);
    EXPECT_EQ(model.portPadMode(2), 1);
    choose(port, 0);
    EXPECT_EQ(device->currentIndex(), model.portDevice(0));
    EXPECT_EQ(mode->currentIndex(), 0);
    choose(port, 2);
    EXPECT_EQ(device->currentText(), "Mouse");
    EXPECT_EQ(mode->currentText(), "Analog");
    EXPECT_TRUE(model.collectSettings().contains("ss.input.port3 mouse"));
}

TEST_F(SettingsPanelTest, PathButtonsPutTheChosenFileIntoTheirEdit) {
    testsupport::FakeDialogs dialogs;
    testsupport::TempFolder folder;
    const QString rom = folder.write("roms/kof95.bin", "x");
    dialogs.openFileAnswers << rom << QString() << folder.file("roms/two\nlines.bin");

    auto* button = find<controls::TXiButton>("XiButton3");
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(5, 5));
    ASSERT_EQ(dialogs.filters, QStringList({"Rom (bin, ic1) (*.bin *.ic1)"}));
    EXPECT_EQ(model.text(Ctl::LabeledEdit3), QDir::toNativeSeparators(rom));
    EXPECT_EQ(find<QLineEdit>("LabeledEdit3")->text(), QDir::toNativeSeparators(rom));

    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(5, 5)); // cancelled
    EXPECT_EQ(dialogs.filters.size(), 2);
    EXPECT_EQ(model.text(Ctl::LabeledEdit3), QDir::toNativeSeparators(rom));
    EXPECT_EQ(model.text(Ctl::LabeledEdit1), "sega_101.bin");

    // A name with a line break would split its profile line: refused with an error box.
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(dialogs.errors.size(), 1);
    EXPECT_EQ(model.text(Ctl::LabeledEdit3), QDir::toNativeSeparators(rom));
}

// Every control lies inside its parent and no two controls of one parent overlap, with the
// panel at its size and font.
TEST_F(SettingsPanelTest, LayoutFitsWithoutClippingOrOverlaps) {
    window.show();
    QStringList problems;
    const QList<QWidget*> containers = panel->findChildren<QWidget*>();
    for (QWidget* parent : containers) {
        if (!parent->inherits("controls::TXiPanel") && !parent->inherits("QGroupBox"))
            continue;
        const bool isGroup = parent->inherits("QGroupBox");
        QList<QWidget*> kids = parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
        for (qsizetype i = 0; i < kids.size(); ++i) {
            const QRect r = kids[i]->geometry();
            const QRect inside = parent->rect().adjusted(1, isGroup ? 14 : 1, -1, -1);
            if (!inside.contains(r))
                problems << kids[i]->objectName() + " outside " + parent->objectName();
            // Texts must be readable whole.
            auto* label = qobject_cast<QLabel*>(kids[i]);
            if (label && label->wordWrap() && label->heightForWidth(r.width()) > r.height())
                problems << label->objectName() + " cut";
            if ((label && !label->wordWrap()) || qobject_cast<QCheckBox*>(kids[i]) ||
                qobject_cast<QComboBox*>(kids[i]))
                if (kids[i]->sizeHint().width() > r.width())
                    problems << kids[i]->objectName() + " cut " +
                                    QString::number(kids[i]->sizeHint().width());
            for (qsizetype j = i + 1; j < kids.size(); ++j)
                if (r.intersects(kids[j]->geometry()))
                    problems << kids[i]->objectName() + " overlaps " + kids[j]->objectName();
        }
    }
    // The panels fit their pages.
    for (auto* tabs : {static_cast<QTabWidget*>(panel), find<QTabWidget>("PageControl2")}) {
        for (int page = 0; page < tabs->count(); ++page) {
            tabs->setCurrentIndex(page);
            QWidget* sheet = tabs->widget(page);
            for (QWidget* child : sheet->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
                if (!sheet->rect().contains(child->geometry()))
                    problems << child->objectName() + " outside " + sheet->objectName();
        }
    }
    EXPECT_TRUE(problems.isEmpty()) << problems.join("; ").toStdString();
}

// The language file replaces captions before the window shows: longer texts are not cut.
TEST_F(SettingsPanelTest, ReplacedCaptionsGrowToTheirText) {
    auto* label = find<QLabel>("Label31");
    auto* box = find<QCheckBox>("CheckBox6");
    auto* longBox = find<QCheckBox>("CheckBox7");
    label->setText("Type of the device:");
    longBox->setText(longBox->text().repeated(3)); // no room for it: stays inside its panel
    box->setText("Check the CD image before starting it");
    window.show();
    EXPECT_GE(label->width(), label->sizeHint().width());
    EXPECT_GE(box->width(), box->sizeHint().width());
    EXPECT_LT(longBox->geometry().right(), longBox->parentWidget()->width());
}

TEST_F(SettingsPanelTest, TrackBarFillsItsChannelUpToTheThumb) {
    window.show();
    panel->setCurrentIndex(2);
    auto* bar = static_cast<settings::TrackBar*>(find<QSlider>("TrackBar1"));
    bar->setValue(0);
    EXPECT_TRUE(bar->selectionRect().isEmpty());
    bar->setValue(5);
    const QRect half = bar->selectionRect();
    bar->setValue(10);
    const QRect full = bar->selectionRect();
    ASSERT_FALSE(half.isEmpty());
    EXPECT_EQ(half.left(), full.left());
    EXPECT_GT(full.width(), half.width() + bar->width() / 4);

    const QImage image = bar->grab().toImage();
    const QPoint inFill(full.left() + 2, full.center().y());
    EXPECT_EQ(image.pixelColor(inFill * image.devicePixelRatio()).rgb(),
              bar->palette().color(QPalette::Active, QPalette::Highlight).rgb());
}

// Not part of the suite: writes a picture of every tab for a look at the layout.
// Run with --gtest_also_run_disabled_tests --gtest_filter=*Screenshots*.
// A setting the emulator does not know is shown disabled and says why; its group's reactions
// do not enable it, and it comes back once the emulator knows it.
TEST_F(SettingsPanelTest, SettingsTheEmulatorDoesNotKnowAreDisabledWithATooltip) {
    i18n::initMessageTable();
    auto* midsync = find<QCheckBox>("CheckBox7");
    const QString tip = midsync->toolTip();
    const QString unknown = i18n::message(i18n::Extra::UnknownSetting);
    panel->setUnknownSettings({Ctl::CheckBox7, Ctl::TrackBar4});
    EXPECT_FALSE(midsync->isEnabled());
    EXPECT_EQ(midsync->toolTip(), tip + "\n" + unknown);
    model.setChecked(Ctl::CheckBox10, true); // enables the opacity group
    EXPECT_FALSE(panel->widgetFor(Ctl::TrackBar4)->isEnabled());
    EXPECT_FALSE(panel->valueBoxFor(Ctl::TrackBar4)->isEnabled());

    panel->setUnknownSettings({});
    EXPECT_TRUE(midsync->isEnabled());
    EXPECT_EQ(midsync->toolTip(), tip);
    EXPECT_TRUE(panel->widgetFor(Ctl::TrackBar4)->isEnabled());
}

TEST_F(SettingsPanelTest, DISABLED_Screenshots) {
    window.show();
    auto* inner = find<QTabWidget>("PageControl2");
    const QString folder = qEnvironmentVariable("VARNIX_SHOTS", QDir::tempPath());
    for (int page = 0; page < panel->count(); ++page) {
        panel->setCurrentIndex(page);
        panel->grab().save(folder + "/varnix-panel-" + panel->tabText(page) + ".png");
    }
    panel->setCurrentIndex(1);
    inner->setCurrentIndex(1);
    panel->grab().save(folder + "/varnix-panel-Filters.png");
}

} // namespace
