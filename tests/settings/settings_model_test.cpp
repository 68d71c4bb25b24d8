#include "setting_values.h"
#include "settings/config_store.h"
#include "settings/settings_model.h"
#include "settings/settings_table.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

using namespace settings;

// Readable failure output for texts and optional texts.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace {

// The five decimal settings every configuration must hold, before the given lines (a key's
// last occurrence counts, so the given lines win).
QStringList withDecimals(const QStringList& lines) {
    return QStringList{"ss.yscale 1", "ss.shader.goat.hdiv 0.5", "ss.shader.goat.vdiv 0.5",
                       "ss.shader.goat.tp 0.5", "ss.input.mouse_sensitivity 0.5"} +
           lines;
}

// A profile's line for a key, or an empty text.
QString lineOf(const QStringList& lines, const QString& key) {
    for (const QString& line : lines) {
        if (line.startsWith(key))
            return line;
    }
    return QString();
}

// The lines a fresh model writes after reading the given configuration.
QStringList collected(const QStringList& config) {
    SettingsModel model;
    EXPECT_EQ(model.applySettings(withDecimals(config)), std::nullopt);
    return model.collectSettings();
}

} // namespace

TEST(SettingNumbers, HundredthsAreTakenFromTheDecimalDigits) {
    const std::pair<const char*, qint64> cases[] = {
        {"0.29", 29},    {"0.53", 53},  {"0.57", 57},  {"0.59", 59},      {"-1.16", -116},
        {"-1.18", -118}, {"0.555", 55}, {"-0.5", -50}, {"2.000000", 200}, {"1", 100},
        {".5", 50},      {" 0.5 ", 50}, {"1e-2", 1},   {"1.5E1", 1500},   {"-0.009", 0},
    };
    for (const auto& [text, hundredths] : cases)
        EXPECT_EQ(parseHundredths(text), hundredths) << text;
    for (const char* bad : {"", " ", "abc", "0,5", "1.2.3", "1e", "--1", "0.5x", "."})
        EXPECT_EQ(parseHundredths(bad), std::nullopt) << bad;
    EXPECT_GT(*parseHundredths("1e30"), 1'000'000); // saturates, no overflow

    EXPECT_EQ(hundredthsText(50), "0.5");
    EXPECT_EQ(hundredthsText(5), "0.05");
    EXPECT_EQ(hundredthsText(100), "1");
    EXPECT_EQ(hundredthsText(-150), "-1.5");
    EXPECT_EQ(hundredthsText(-5), "-0.05");
    EXPECT_EQ(hundredthsText(0), "0");
}

TEST(SettingNumbers, WholeNumbersAllowLeadingBlanksAndASignOnly) {
    EXPECT_EQ(parseWholeNumber("  -30"), -30);
    EXPECT_EQ(parseWholeNumber("+2"), 2);
    for (const char* bad : {"", "yes", "1 ", "1.0", "-", "0x10", "99999999999"})
        EXPECT_EQ(parseWholeNumber(bad), std::nullopt) << bad;
}

TEST(SettingNumbers, HorizontalScaleKeepsFourSignificantDigits) {
    const QStringList wide = {"1.333", "2.666", "3.999",  "5.332",  "6.665",
                              "7.998", "9.331", "10.660", "12.000", "13.330"};
    for (int f = 1; f <= 10; ++f) {
        EXPECT_EQ(horizontalScaleText(f, true), wide.at(f - 1));
        EXPECT_EQ(horizontalScaleText(f, false), QString::number(f) + ".000");
    }
}

TEST(SettingsTable, SixtyLinesEachKeyOnceEndingInItsBlank) {
    const auto& table = settingsTable();
    ASSERT_EQ(table.size(), 60u);
    QStringList keys;
    for (size_t i = 0; i < table.size(); ++i) {
        EXPECT_EQ(table[i].line, int(i));
        EXPECT_TRUE(table[i].key.endsWith(' '));
        keys << table[i].key;
    }
    keys.removeDuplicates();
    EXPECT_EQ(keys.size(), 60);
    EXPECT_EQ(table[21].key, "ss.tblur ");
    EXPECT_EQ(table[29].key, "ss.input.port1 ");
    EXPECT_EQ(table[59].key, "ss.input.port9.3dpad.mode.defpos ");
    EXPECT_EQ(readSequence().size(), 57u); // the two x scales and yscalefs are never read
}

TEST(SettingsModelState, InitialStateOfThePanel) {
    SettingsModel m;
    EXPECT_EQ(m.text(Ctl::LabeledEdit1), "sega_101.bin");
    EXPECT_EQ(m.text(Ctl::LabeledEdit4), "mpr-19367-mx.ic1");
    EXPECT_TRUE(m.checked(Ctl::CheckBox2));
    EXPECT_TRUE(m.checked(Ctl::CheckBox4));
    EXPECT_FALSE(m.checked(Ctl::CheckBox8));
    EXPECT_EQ(m.items(Ctl::ComboBox6).at(m.index(Ctl::ComboBox6)), "Aspect (multiple of 2)");
    EXPECT_EQ(m.items(Ctl::ComboBox10).at(m.index(Ctl::ComboBox10)), "48000 Hz");
    EXPECT_EQ(m.items(Ctl::ComboBox15).at(m.index(Ctl::ComboBox15)), "Digital gamepad");
    EXPECT_EQ(m.items(Ctl::ComboBox8).size(), 16);
    EXPECT_EQ(m.items(Ctl::ComboBox9).last(), "goat");
    EXPECT_EQ(m.items(Ctl::ComboBox4).size(), 9);
    EXPECT_EQ(m.minimum(Ctl::TrackBar4), -100);
    EXPECT_EQ(m.maximum(Ctl::TrackBar7), 150);
    EXPECT_EQ(m.valueBoxText(Ctl::TrackBar1), "4");
    EXPECT_EQ(m.valueBoxText(Ctl::TrackBar3), "50%");
    EXPECT_EQ(m.valueBoxText(Ctl::TrackBar5), "x1");
    EXPECT_EQ(m.valueBoxText(Ctl::TrackBar9), "0.5");
    EXPECT_FALSE(m.enabled(EnableGroup::Region));
    EXPECT_FALSE(m.enabled(EnableGroup::BlurAmount));
    EXPECT_FALSE(m.enabled(EnableGroup::ScanlineOpacity));
    EXPECT_FALSE(m.enabled(EnableGroup::GoatShader));
    EXPECT_EQ(m.portDevice(4), 0);
    EXPECT_EQ(ctlName(Ctl::ComboBox16), "ComboBox16");
    EXPECT_EQ(ctlName(Ctl::TrackBar9), "TrackBar9");
    // Out-of-range requests are ignored or clamped, never out of bounds.
    m.setPosition(Ctl::TrackBar5, 99);
    EXPECT_EQ(m.position(Ctl::TrackBar5), 10);
    m.setIndex(Ctl::ComboBox11, 7);
    EXPECT_EQ(m.index(Ctl::ComboBox11), -1);
    m.userSelect(Ctl::ComboBox15, 42);
    EXPECT_EQ(m.portDevice(0), 0);
}

// Every value of every line, applied and collected, then read back by a fresh model: the
// profile comes back line for line and holds the value it was made from.
TEST(SettingsRoundTrip, EveryValueOfEveryLineSurvivesApplyAndCollect) {
    const QStringList base = collected({});
    int profiles = 0;
    for (const auto& [row, value] : settingstest::valuesOfEveryLine()) {
        QStringList config = base;
        config[row->line] = row->key + value;
        const QStringList once = collected(config);
        EXPECT_EQ(once.at(row->line), row->key + value);
        EXPECT_EQ(collected(once), once) << row->key.toStdString() << value.toStdString();
        ++profiles;
    }
    EXPECT_GT(profiles, 150);
}

TEST(SettingsApply, ScaleLinesFollowStretchAndYScale) {
    SettingsModel m;
    ASSERT_EQ(m.applySettings(withDecimals({"ss.stretch 0", "ss.yscale 3"})), std::nullopt);
    EXPECT_EQ(m.items(Ctl::ComboBox6).at(m.index(Ctl::ComboBox6)), "Widescreen (16:9)");
    QStringList lines = m.collectSettings();
    EXPECT_EQ(lines[10], "ss.stretch 0");
    EXPECT_EQ(lines[11], "ss.xscale 3.999");
    EXPECT_EQ(lines[12], "ss.xscalefs 3.999");
    EXPECT_EQ(lines[13], "ss.yscale 3.000");
    EXPECT_EQ(lines[14], "ss.yscalefs 3.000");

    ASSERT_EQ(m.applySettings(withDecimals({"ss.stretch full", "ss.yscale 2.7", "ss.xscale 7"})),
              std::nullopt);
    EXPECT_EQ(m.position(Ctl::TrackBar5), 2);
    EXPECT_EQ(m.collectSettings()[11], "ss.xscale 2.000");
    ASSERT_EQ(m.applySettings(withDecimals({"ss.yscale 12"})), std::nullopt);
    EXPECT_EQ(m.position(Ctl::TrackBar5), 10);
    ASSERT_EQ(m.applySettings(withDecimals({"ss.yscale -4"})), std::nullopt);
    EXPECT_EQ(m.position(Ctl::TrackBar5), 1);
}

TEST(SettingsApply, FlagsWholeNumbersAndScanlines) {
    SettingsModel m;
    ASSERT_EQ(m.applySettings(
                  withDecimals({"sound 0", "ss.scanlines -30", "ss.correct_aspect 0",
                                "ss.bios_sanity yes", "ss.cd_sanity 2", "video.fs -1",
                                "ss.h_blend 1 ", "sound.volume 400", "ss.scsp.resamp_quality x"})),
              std::nullopt);
    EXPECT_FALSE(m.checked(Ctl::CheckBox11));
    EXPECT_TRUE(m.checked(Ctl::CheckBox10));
    EXPECT_EQ(m.position(Ctl::TrackBar4), -30);
    EXPECT_TRUE(m.checked(Ctl::CheckBox12));
    EXPECT_TRUE(m.checked(Ctl::CheckBox2)); // "yes" gives the default 1
    EXPECT_TRUE(m.checked(Ctl::CheckBox6));
    EXPECT_FALSE(m.checked(Ctl::CheckBox1));
    EXPECT_FALSE(m.checked(Ctl::CheckBox13)); // a trailing blank is not a number: default 0
    EXPECT_EQ(m.position(Ctl::TrackBar7), 150);
    EXPECT_EQ(m.position(Ctl::TrackBar1), 4);
    EXPECT_FALSE(m.checked(Ctl::CheckBox8)); // no temporal blur key at all
    QStringList lines = m.collectSettings();
    EXPECT_EQ(lines[23], "sound 0");
    EXPECT_EQ(lines[22], "ss.scanlines -30");
    EXPECT_EQ(lines[41], "ss.correct_aspect 0");

    m.setChecked(Ctl::CheckBox10, false);
    EXPECT_EQ(m.collectSettings()[22], "ss.scanlines 0");
}

TEST(SettingsApply, ListsAndPaths) {
    SettingsModel m;
    m.setText(Ctl::LabeledEdit1, "/bios/jp.bin");
    ASSERT_EQ(m.applySettings(withDecimals({"ss.shader IPXNOTY", "ss.special ", "ss.cart Auto",
                                            "ss.shader.goat.pat SLEN", "video.deinterlacer bob",
                                            "ss.bios_na_eu /bios/us eu.bin"})),
              std::nullopt);
    EXPECT_EQ(m.index(Ctl::ComboBox9), 6);
    EXPECT_EQ(m.index(Ctl::ComboBox8), 0);
    EXPECT_EQ(m.index(Ctl::ComboBox1), -1);
    EXPECT_EQ(m.index(Ctl::ComboBox5), 2);
    EXPECT_EQ(m.index(Ctl::ComboBox13), 1); // "bob", not "bob_offset"
    EXPECT_EQ(m.text(Ctl::LabeledEdit1), "/bios/jp.bin");
    EXPECT_EQ(m.text(Ctl::LabeledEdit2), "/bios/us eu.bin");

    ASSERT_EQ(m.applySettings(withDecimals({"ss.shader go"})), std::nullopt);
    EXPECT_EQ(m.index(Ctl::ComboBox9), 10);
    EXPECT_TRUE(m.enabled(EnableGroup::GoatShader));
    // A configuration without the line leaves the list alone; an empty value selects "none".
    ASSERT_EQ(m.applySettings(withDecimals({})), std::nullopt);
    EXPECT_EQ(m.index(Ctl::ComboBox9), 10);
    ASSERT_EQ(m.applySettings(withDecimals({"ss.shader "})), std::nullopt);
    EXPECT_EQ(m.index(Ctl::ComboBox9), 0);
    EXPECT_FALSE(m.enabled(EnableGroup::GoatShader));
    EXPECT_EQ(m.findComboItem(Ctl::ComboBox9, "zzz"), 11);
}

TEST(SettingsApply, PortDevicesAndPadModes) {
    SettingsModel m;
    ASSERT_EQ(m.applySettings(
                  withDecimals({"ss.input.port3 gun", "ss.input.port1.3dpad.mode.defpos ANALOG",
                                "ss.input.port2.3dpad.mode.defpos analog"})),
              std::nullopt);
    EXPECT_EQ(m.portDevice(2), 7);
    EXPECT_EQ(m.portPadMode(0), 1); // the emulator reads words without regard to letter case
    EXPECT_EQ(m.portPadMode(1), 1);
    ASSERT_EQ(m.applySettings(withDecimals({"ss.input.port3 lightgun"})), std::nullopt);
    EXPECT_EQ(m.portDevice(2), 7);  // an unknown device keeps the previous one
    EXPECT_EQ(m.portPadMode(1), 1); // a configuration without the line leaves it alone
    // The device and mode selectors show the current port after reading.
    m.userSelect(Ctl::ComboBox4, 2);
    ASSERT_EQ(m.applySettings(withDecimals(
                  {"ss.input.port3 mouse", "ss.input.port3.3dpad.mode.defpos analog"})),
              std::nullopt);
    EXPECT_EQ(m.index(Ctl::ComboBox4), 2);
    EXPECT_EQ(m.index(Ctl::ComboBox15), 3);
    EXPECT_EQ(m.index(Ctl::ComboBox16), 1);
}

// A save writes what the emulator would read from the files it was read from.
TEST(SettingsApply, ASaveKeepsWhatTheEmulatorWouldRead) {
    SettingsModel m;
    ConfigView config(withDecimals({"ss.input.port1 GAMEPAD", "ss.input.port3 mouse",
                                    "ss.input.port3.3dpad.mode.defpos ANALOG", "ss.cart none",
                                    "ss.cart extram4", "ss.tblur.accum 1", "ss.tblur.accum 0"}));
    ASSERT_EQ(m.applySettings(config, SettingsModel::Missing::ReadAsEmpty), std::nullopt);
    const QStringList saved = m.collectSettings();
    EXPECT_EQ(lineOf(saved, "ss.input.port1 "), "ss.input.port1 gamepad");
    // Ports without a line have the emulator's default, a gamepad.
    EXPECT_EQ(lineOf(saved, "ss.input.port2 "), "ss.input.port2 gamepad");
    EXPECT_EQ(lineOf(saved, "ss.input.port3 "), "ss.input.port3 mouse");
    EXPECT_EQ(lineOf(saved, "ss.input.port9 "), "ss.input.port9 gamepad");
    EXPECT_EQ(lineOf(saved, "ss.input.port3.3dpad.mode.defpos "),
              "ss.input.port3.3dpad.mode.defpos analog");
    // Of a key written twice the emulator uses the last line.
    EXPECT_EQ(lineOf(saved, "ss.cart "), "ss.cart extram4");
    EXPECT_EQ(lineOf(saved, "ss.tblur.accum "), "ss.tblur.accum 0");
}

TEST(SettingsApply, ANonNumericDecimalStopsReadingThere) {
    SettingsModel m;
    const auto error = m.applySettings({"ss.yscale 1", "ss.cart backup", "ss.shader.goat.hdiv 0.25",
                                        "ss.shader.goat.vdiv wide", "sound 0"});
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(*error, "'wide' is not a valid floating point value");
    EXPECT_EQ(m.index(Ctl::ComboBox1), 2);     // set before the failing line
    EXPECT_EQ(m.position(Ctl::TrackBar6), 25); // set before the failing line
    EXPECT_TRUE(m.checked(Ctl::CheckBox11));   // not reached
    EXPECT_EQ(SettingsModel().applySettings({"ss.shader.goat.tp 0.5", "ss.yscale "}),
              "'' is not a valid floating point value"); // ss.yscale is read first
}

TEST(SettingsCollect, SixtyLinesWhateverWasReadBefore) {
    QStringList big;
    for (int i = 0; i < 300; ++i)
        big << QStringLiteral("some.setting%1 %1").arg(i);
    big << "ss.yscale 1"
        << "ss.shader.goat.hdiv 0.5"
        << "ss.shader.goat.vdiv 0.5"
        << "ss.shader.goat.tp 0.5"
        << "ss.input.mouse_sensitivity 0.5";
    const QStringList lines = collected(big);
    EXPECT_EQ(lines.size(), 60);
    EXPECT_EQ(lines[0], "ss.bios_jp sega_101.bin");
    EXPECT_EQ(lines[29], "ss.input.port1 none");
    EXPECT_EQ(lines[59], "ss.input.port9.3dpad.mode.defpos digital");
}

// Every written line must be one the emulator accepts: a list left without a selection keeps
// the value read only when the emulator knows it.
TEST(SettingsCollect, UnselectedListsWriteAValueTheEmulatorAccepts) {
    const QStringList lines =
        collected({"ss.cart Auto", "ss.stretch bogus", "ss.forcemono 2", "ss.shader foo",
                   "sound.rate ", "ss.region_default EU", "ss.videoip X"});
    EXPECT_EQ(lineOf(lines, "ss.cart "), "ss.cart Auto");
    EXPECT_EQ(lineOf(lines, "ss.stretch "), "ss.stretch aspect_mult2");
    EXPECT_EQ(lineOf(lines, "ss.forcemono "), "ss.forcemono 0");
    EXPECT_EQ(lineOf(lines, "ss.shader "), "ss.shader none");
    EXPECT_EQ(lineOf(lines, "sound.rate "), "sound.rate 48000");
    EXPECT_EQ(lineOf(lines, "ss.region_default "), "ss.region_default EU");
    EXPECT_EQ(lineOf(lines, "ss.videoip "), "ss.videoip X");
}

TEST(SettingsCollect, TemporalBlurIsWrittenUnderTheEmulatorsKey) {
    EXPECT_EQ(collected({"ss.tblurm 1"})[21], "ss.tblur 1");
    EXPECT_EQ(collected({"ss.tblur 1"})[21], "ss.tblur 1");
    EXPECT_EQ(collected({"ss.tblur 0", "ss.tblurm 1"})[21], "ss.tblur 0");
}

TEST(SettingsReactions, EnablingRules) {
    SettingsModel m;
    QSignalSpy spy(&m, &SettingsModel::enabledChanged);
    m.setChecked(Ctl::CheckBox4, false);
    EXPECT_TRUE(m.enabled(EnableGroup::Region));
    m.setChecked(Ctl::CheckBox8, true);
    m.setChecked(Ctl::CheckBox9, true);
    EXPECT_TRUE(m.enabled(EnableGroup::BlurAmount));
    m.setChecked(Ctl::CheckBox8, false); // the box that reacted last decides
    EXPECT_FALSE(m.enabled(EnableGroup::BlurAmount));
    m.setChecked(Ctl::CheckBox9, true); // same state: no reaction
    EXPECT_FALSE(m.enabled(EnableGroup::BlurAmount));
    m.setChecked(Ctl::CheckBox10, true);
    EXPECT_TRUE(m.enabled(EnableGroup::ScanlineOpacity));
    m.userSelect(Ctl::ComboBox9, 10);
    EXPECT_TRUE(m.enabled(EnableGroup::GoatShader));
    m.setIndex(Ctl::ComboBox9, 3); // the program's selection runs no reaction
    EXPECT_TRUE(m.enabled(EnableGroup::GoatShader));
    m.userSelect(Ctl::ComboBox9, 9);
    EXPECT_FALSE(m.enabled(EnableGroup::GoatShader));
    EXPECT_EQ(spy.count(), 6);
    EXPECT_EQ(spy.last().at(1).toBool(), false);
}

TEST(SettingsReactions, ValueBoxesAndChangeSignals) {
    SettingsModel m;
    QSignalSpy spy(&m, &SettingsModel::controlChanged);
    m.setPosition(Ctl::TrackBar4, -35);
    m.setPosition(Ctl::TrackBar6, -200);
    m.setPosition(Ctl::TrackBar2, 7);
    m.setPosition(Ctl::TrackBar3, 1);
    m.setPosition(Ctl::TrackBar5, 10);
    m.setPosition(Ctl::TrackBar5, 10); // unchanged: no signal
    EXPECT_EQ(m.valueBoxText(Ctl::TrackBar4), "-35");
    EXPECT_EQ(m.valueBoxText(Ctl::TrackBar6), "-2");
    EXPECT_EQ(m.valueBoxText(Ctl::TrackBar2), "0.07");
    EXPECT_EQ(m.valueBoxText(Ctl::TrackBar3), "1%");
    EXPECT_EQ(m.valueBoxText(Ctl::TrackBar5), "x10");
    EXPECT_EQ(spy.count(), 5);
    EXPECT_EQ(spy.first().at(0).value<Ctl>(), Ctl::TrackBar4);
}

TEST(SettingsReactions, EachVirtualPortKeepsItsOwnDeviceAndMode) {
    SettingsModel m;
    m.userSelect(Ctl::ComboBox4, 2);
    m.userSelect(Ctl::ComboBox15, 3); // Mouse
    m.userSelect(Ctl::ComboBox16, 1);
    m.userSelect(Ctl::ComboBox4, 0);
    EXPECT_EQ(m.index(Ctl::ComboBox15), 0);
    EXPECT_EQ(m.index(Ctl::ComboBox16), 0);
    m.userSelect(Ctl::ComboBox4, 2);
    EXPECT_EQ(m.index(Ctl::ComboBox15), 3);
    m.userSelect(Ctl::ComboBox4, 0);
    const QStringList lines = m.collectSettings();
    EXPECT_EQ(lines[31], "ss.input.port3 mouse");
    EXPECT_EQ(lines[53], "ss.input.port3.3dpad.mode.defpos analog");
    EXPECT_EQ(lines[29], "ss.input.port1 none");
}
