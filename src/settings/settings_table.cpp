#include "settings/settings_table.h"

#include <algorithm>
#include <array>
#include <limits>

namespace settings {

static QStringList list(std::initializer_list<const char*> words) {
    QStringList out;
    for (const char* w : words)
        out << QString::fromUtf8(w);
    return out;
}

const QStringList& stretchWords() {
    static const QStringList w = list({"full", "aspect", "aspect_int", "aspect_mult2", "0"});
    return w;
}
const QStringList& cartWords() {
    static const QStringList w = list({"auto", "none", "backup", "extram1", "extram4", "cs1ram16"});
    return w;
}
const QStringList& regionWords() {
    static const QStringList w = list({"jp", "na", "eu", "kr", "tw", "as", "br", "la"});
    return w;
}
const QStringList& videoIpWords() {
    static const QStringList w = list({"0", "1", "x", "y"});
    return w;
}
const QStringList& soundRateWords() {
    static const QStringList w = list({"22050", "32000", "44100", "48000", "96000", "192000"});
    return w;
}
const QStringList& soundDriverWords() {
    static const QStringList w =
        list({"default", "alsa", "oss", "wasapish", "dsound", "wasapi", "sdl", "jack"});
    return w;
}
const QStringList& deviceWords() {
    static const QStringList w = list({"none", "gamepad", "3dpad", "mouse", "wheel", "mission",
                                       "dmission", "gun", "keyboard", "jpkeyboard"});
    return w;
}
const QStringList& biosLanguageWords() {
    static const QStringList w =
        list({"english", "german", "french", "spanish", "italian", "japanese"});
    return w;
}
const QStringList& padModeWords() {
    static const QStringList w = list({"digital", "analog"});
    return w;
}
const QStringList& monoWords() {
    static const QStringList w = list({"0", "1"});
    return w;
}

namespace {

using CK = ControlKind;

ControlInfo edit(Ctl c, const char* name, const char* text) {
    return {c, name, CK::PathEdit, {}, 0, 0, 0, QString::fromUtf8(text)};
}
ControlInfo box(Ctl c, const char* name, bool on) {
    return {c, name, CK::CheckBox, {}, 0, 0, on ? 1 : 0, {}};
}
ControlInfo combo(Ctl c, const char* name, QStringList items, int initial) {
    return {c, name, CK::List, std::move(items), 0, 0, initial, {}};
}
ControlInfo bar(Ctl c, const char* name, int min, int max, int initial) {
    return {c, name, CK::TrackBar, {}, min, max, initial, {}};
}

std::vector<ControlInfo> makeControls() {
    std::vector<ControlInfo> v = {
        edit(Ctl::LabeledEdit1, "LabeledEdit1", "sega_101.bin"),
        edit(Ctl::LabeledEdit2, "LabeledEdit2", "mpr-17933.bin"),
        edit(Ctl::LabeledEdit3, "LabeledEdit3", "mpr-18811-mx.ic1"),
        edit(Ctl::LabeledEdit4, "LabeledEdit4", "mpr-19367-mx.ic1"),
        box(Ctl::CheckBox1, "CheckBox1", false),
        box(Ctl::CheckBox2, "CheckBox2", true),
        box(Ctl::CheckBox3, "CheckBox3", false),
        box(Ctl::CheckBox4, "CheckBox4", true),
        box(Ctl::CheckBox5, "CheckBox5", false),
        box(Ctl::CheckBox6, "CheckBox6", true),
        box(Ctl::CheckBox7, "CheckBox7", false),
        box(Ctl::CheckBox8, "CheckBox8", false),
        box(Ctl::CheckBox9, "CheckBox9", false),
        box(Ctl::CheckBox10, "CheckBox10", false),
        box(Ctl::CheckBox11, "CheckBox11", true),
        box(Ctl::CheckBox12, "CheckBox12", false),
        box(Ctl::CheckBox13, "CheckBox13", false),
        box(Ctl::CheckBox14, "CheckBox14", false),
        box(Ctl::CheckBox15, "CheckBox15", false),
        combo(Ctl::ComboBox1, "ComboBox1",
              list({"Auto", "None", "Backup Memory(512KiB)", "1MiB Extended RAM",
                    "4MiB Extended RAM", "16MiB RAM (mapped in A-bus CS1)"}),
              0),
        combo(Ctl::ComboBox2, "ComboBox2",
              list({"Japan", "North America", "Europe", "South Korea", "Taiwan", "China", "Brazil",
                    "Latin America"}),
              0),
        combo(Ctl::ComboBox3, "ComboBox3",
              list({"English", "German", "French", "Spanish", "Italian", "Japanese"}), 0),
        combo(Ctl::ComboBox4, "ComboBox4", list({"1", "2", "3", "4", "5", "6", "7", "8", "9"}), 0),
        combo(Ctl::ComboBox5, "ComboBox5", list({"goatron", "borg", "slenderman"}), 0),
        combo(Ctl::ComboBox6, "ComboBox6",
              list({"Fullscreen stretch", "Aspect (vertical fit)", "Aspect (integer scale)",
                    "Aspect (multiple of 2)", "Widescreen (16:9)"}),
              3),
        combo(Ctl::ComboBox7, "ComboBox7",
              list({"None", "Bilinear", "Linear (X axis only)", "Linear (Y axis only)"}), 0),
        combo(Ctl::ComboBox8, "ComboBox8",
              list({"none", "hq2x", "hq3x", "hq4x", "scale2x", "scale3x", "scale4x", "2xsai",
                    "super2xsai", "supereagle", "nn2x", "nn3x", "nn4x", "nny2x", "nny3x", "nny4x"}),
              0),
        combo(Ctl::ComboBox9, "ComboBox9",
              list({"none", "autoip", "autoipsharper", "scale2x", "sabr", "ipsharper", "ipxnoty",
                    "ipynotx", "ipxnotysharper", "ipynotxsharper", "goat"}),
              0),
        combo(Ctl::ComboBox10, "ComboBox10",
              list({"22050 Hz", "32000 Hz", "44100 Hz", "48000 Hz", "96000 Hz", "192000 Hz"}), 3),
        combo(Ctl::ComboBox11, "ComboBox11", list({"Stereo", "Mono"}), 0),
        combo(Ctl::ComboBox12, "ComboBox12",
              list({"Default", "Alsa", "Oss", "Wasapish", "Dsound", "Wasapi", "SDL", "Jack"}), 0),
        combo(Ctl::ComboBox13, "ComboBox13", list({"weave", "bob", "bob_offset"}), 0),
        combo(
            Ctl::ComboBox15, "ComboBox15",
            list({"None", "Digital gamepad", "3D Control Pad", "Mouse", "Steering Wheel",
                  "Mission Stick", "Dual Mission", "Light Gun", "Keyboard (US)", "Keyboard (JP)"}),
            1),
        combo(Ctl::ComboBox16, "ComboBox16", list({"Digital", "Analog"}), 0),
        bar(Ctl::TrackBar1, "TrackBar1", 0, 10, 4),
        bar(Ctl::TrackBar2, "TrackBar2", 1, 99, 50),
        bar(Ctl::TrackBar3, "TrackBar3", 1, 100, 50),
        bar(Ctl::TrackBar4, "TrackBar4", -100, 100, 0),
        bar(Ctl::TrackBar5, "TrackBar5", 1, 10, 1),
        bar(Ctl::TrackBar6, "TrackBar6", -200, 200, 50),
        bar(Ctl::TrackBar7, "TrackBar7", 0, 150, 100),
        bar(Ctl::TrackBar8, "TrackBar8", -200, 200, 50),
        bar(Ctl::TrackBar9, "TrackBar9", 0, 100, 50),
    };
    std::sort(v.begin(), v.end(), [](const ControlInfo& a, const ControlInfo& b) {
        return static_cast<int>(a.ctl) < static_cast<int>(b.ctl);
    });
    return v;
}

std::vector<SettingRow> makeTable() {
    const QStringList* none = nullptr;
    auto key = [](const char* k) { return QString::fromLatin1(k); };
    auto r = [](int line, QString k, Ctl ctl, Kind kind, int def, const QStringList* words,
                int order, int port = -1, QString legacy = QString()) {
        return SettingRow{line, std::move(k),     ctl, kind, def, words, order,
                          port, std::move(legacy)};
    };
    // clang-format off
    std::vector<SettingRow> t = {
        // line, key, control, kind, default, words, read order
        r( 0, key("ss.bios_jp "),             Ctl::LabeledEdit1, Kind::Path,          0,   none,                 0),
        r( 1, key("ss.bios_na_eu "),          Ctl::LabeledEdit2, Kind::Path,          0,   none,                 1),
        r( 2, key("ss.bios_sanity "),         Ctl::CheckBox2,    Kind::Flag,          1,   none,                 2),
        r( 3, key("ss.smpc.autortc.lang "),   Ctl::ComboBox3,    Kind::WordList,      0,   &biosLanguageWords(), 3),
        r( 4, key("ss.region_autodetect "),   Ctl::CheckBox4,    Kind::Flag,          1,   none,                 4),
        r( 5, key("ss.region_default "),      Ctl::ComboBox2,    Kind::WordList,      0,   &regionWords(),       5),
        r( 6, key("ss.cart "),                Ctl::ComboBox1,    Kind::WordList,      0,   &cartWords(),         6),
        r( 7, key("ss.cart.kof95_path "),     Ctl::LabeledEdit3, Kind::Path,          0,   none,                 7),
        r( 8, key("ss.cart.ultraman_path "),  Ctl::LabeledEdit4, Kind::Path,          0,   none,                 8),
        r( 9, key("ss.cd_sanity "),           Ctl::CheckBox6,    Kind::Flag,          1,   none,                 9),
        r(10, key("ss.stretch "),             Ctl::ComboBox6,    Kind::WordList,      0,   &stretchWords(),      11),
        r(11, key("ss.xscale "),              Ctl::TrackBar5,    Kind::XScale,        0,   none,                 -1),
        r(12, key("ss.xscalefs "),            Ctl::TrackBar5,    Kind::XScale,        0,   none,                 -1),
        r(13, key("ss.yscale "),              Ctl::TrackBar5,    Kind::YScale,        0,   none,                 13),
        r(14, key("ss.yscalefs "),            Ctl::TrackBar5,    Kind::YScaleFs,      0,   none,                 -1),
        r(15, key("ss.special "),             Ctl::ComboBox8,    Kind::ItemText,      0,   none,                 14),
        r(16, key("ss.shader "),              Ctl::ComboBox9,    Kind::ItemText,      0,   none,                 15),
        r(17, key("video.deinterlacer "),     Ctl::ComboBox13,   Kind::ItemText,      0,   none,                 16),
        r(18, key("ss.videoip "),             Ctl::ComboBox7,    Kind::WordList,      0,   &videoIpWords(),      23),
        r(19, key("ss.tblur.accum "),         Ctl::CheckBox9,    Kind::Flag,          0,   none,                 25),
        r(20, key("ss.tblur.accum.amount "),  Ctl::TrackBar3,    Kind::WholeBar,      50,  none,                 26),
        r(21, key("ss.tblur "),               Ctl::CheckBox8,    Kind::Flag,          0,   none,                 27, -1, key("ss.tblurm ")),
        r(22, key("ss.scanlines "),           Ctl::CheckBox10,   Kind::Scanlines,     0,   none,                 28),
        r(23, key("sound "),                  Ctl::CheckBox11,   Kind::Flag,          1,   none,                 29),
        r(24, key("sound.rate "),             Ctl::ComboBox10,   Kind::WordList,      0,   &soundRateWords(),    30),
        r(25, key("ss.forcemono "),           Ctl::ComboBox11,   Kind::ItemIndex,     0,   &monoWords(),         31),
        r(26, key("sound.volume "),           Ctl::TrackBar7,    Kind::WholeBar,      100, none,                 32),
        r(27, key("sound.driver "),           Ctl::ComboBox12,   Kind::WordList,      0,   &soundDriverWords(),  33),
        r(28, key("ss.scsp.resamp_quality "), Ctl::TrackBar1,    Kind::WholeBar,      4,   none,                 34),
        // lines 29..37: the port devices (added below)
        r(38, key("ss.midsync "),             Ctl::CheckBox7,    Kind::Flag,          1,   none,                 53),
        r(39, key("ss.input.mouse_sensitivity "), Ctl::TrackBar2, Kind::HundredthsBar, 0,  none,                 56),
        r(40, key("video.fs "),               Ctl::CheckBox1,    Kind::Flag,          0,   none,                 10),
        r(41, key("ss.correct_aspect "),      Ctl::CheckBox12,   Kind::InvertedFlag,  1,   none,                 12),
        r(42, key("ss.shader.goat.fprog "),   Ctl::CheckBox3,    Kind::Flag,          0,   none,                 17),
        r(43, key("ss.shader.goat.slen "),    Ctl::CheckBox5,    Kind::Flag,          0,   none,                 18),
        r(44, key("ss.shader.goat.pat "),     Ctl::ComboBox5,    Kind::ItemText,      0,   none,                 19),
        r(45, key("ss.shader.goat.hdiv "),    Ctl::TrackBar6,    Kind::HundredthsBar, 0,   none,                 20),
        r(46, key("ss.shader.goat.vdiv "),    Ctl::TrackBar8,    Kind::HundredthsBar, 0,   none,                 21),
        r(47, key("ss.shader.goat.tp "),      Ctl::TrackBar9,    Kind::HundredthsBar, 0,   none,                 22),
        r(48, key("ss.h_blend "),             Ctl::CheckBox13,   Kind::Flag,          0,   none,                 24),
        r(49, key("ss.input.sport1.multitap "), Ctl::CheckBox14, Kind::Flag,          1,   none,                 54),
        r(50, key("ss.input.sport2.multitap "), Ctl::CheckBox15, Kind::Flag,          1,   none,                 55),
        // lines 51..59: the ports' 3D pad modes (added below)
    };
    // clang-format on
    // Per port: its device is read, then its pad mode, port after port.
    for (int p = 0; p < 9; ++p) {
        const QString n = QString::number(p + 1);
        t.push_back({29 + p, QStringLiteral("ss.input.port") + n + QLatin1Char(' '),
                     Ctl::ComboBox15, Kind::PortDevice, 0, &deviceWords(), 35 + 2 * p, p,
                     QString()});
        t.push_back({51 + p, QStringLiteral("ss.input.port") + n + ".3dpad.mode.defpos ",
                     Ctl::ComboBox16, Kind::PortPadMode, 0, &padModeWords(), 36 + 2 * p, p,
                     QString()});
    }
    std::sort(t.begin(), t.end(),
              [](const SettingRow& a, const SettingRow& b) { return a.line < b.line; });
    return t;
}

} // namespace

const ControlInfo& controlInfo(Ctl ctl) {
    static const std::vector<ControlInfo> controls = makeControls();
    return controls.at(static_cast<size_t>(ctl));
}

const std::vector<SettingRow>& settingsTable() {
    static const std::vector<SettingRow> table = makeTable();
    return table;
}

const std::vector<const SettingRow*>& readSequence() {
    static const std::vector<const SettingRow*> seq = [] {
        std::vector<const SettingRow*> s;
        for (const SettingRow& row : settingsTable()) {
            if (row.readOrder >= 0)
                s.push_back(&row);
        }
        std::sort(s.begin(), s.end(), [](const SettingRow* a, const SettingRow* b) {
            return a->readOrder < b->readOrder;
        });
        return s;
    }();
    return seq;
}

bool acceptedExtraValue(const QString& key, const QString& value) {
    if (value.isEmpty())
        return false;
    auto oneOf = [&](std::initializer_list<const char*> words) {
        for (const char* w : words)
            if (value.compare(QLatin1String(w), Qt::CaseInsensitive) == 0)
                return true;
        return false;
    };
    if (key == QLatin1String("video.deinterlacer "))
        return oneOf({"blend", "blend_rg"});
    if (key == QLatin1String("ss.cart "))
        return oneOf({"ar4mp"});
    if (key == QLatin1String("sound.driver "))
        return oneOf({"openbsd"});
    if (key == QLatin1String("sound.rate ")) {
        for (QChar c : value)
            if (c < QLatin1Char('0') || c > QLatin1Char('9'))
                return false;
        const std::optional<int> rate = parseWholeNumber(value);
        return rate && *rate >= 22050 && *rate <= 192000;
    }
    return false;
}

static bool isBlank(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

std::optional<int> parseWholeNumber(const QString& text) {
    qsizetype i = 0;
    while (i < text.size() && isBlank(text.at(i)))
        ++i;
    bool negative = false;
    if (i < text.size() && (text.at(i) == QLatin1Char('-') || text.at(i) == QLatin1Char('+'))) {
        negative = text.at(i) == QLatin1Char('-');
        ++i;
    }
    if (i == text.size())
        return std::nullopt;
    qint64 value = 0;
    for (; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return std::nullopt;
        value = value * 10 + (c.unicode() - '0');
        if (value > qint64(std::numeric_limits<int>::max()) + 1)
            return std::nullopt;
    }
    if (negative)
        value = -value;
    if (value > std::numeric_limits<int>::max() || value < std::numeric_limits<int>::min())
        return std::nullopt;
    return static_cast<int>(value);
}

std::optional<qint64> parseHundredths(const QString& input) {
    const QString text = input.trimmed();
    qsizetype i = 0;
    bool negative = false;
    if (i < text.size() && (text.at(i) == QLatin1Char('-') || text.at(i) == QLatin1Char('+'))) {
        negative = text.at(i) == QLatin1Char('-');
        ++i;
    }
    QString digits; // every mantissa digit, without the point
    qsizetype intDigits = 0;
    bool point = false;
    for (; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) {
            digits += c;
            if (!point)
                ++intDigits;
        } else if (c == QLatin1Char('.') && !point) {
            point = true;
        } else {
            break;
        }
    }
    if (digits.isEmpty())
        return std::nullopt;
    qint64 exponent = 0;
    if (i < text.size() && (text.at(i) == QLatin1Char('e') || text.at(i) == QLatin1Char('E'))) {
        ++i;
        bool expNegative = false;
        if (i < text.size() && (text.at(i) == QLatin1Char('-') || text.at(i) == QLatin1Char('+'))) {
            expNegative = text.at(i) == QLatin1Char('-');
            ++i;
        }
        const qsizetype expStart = i;
        for (; i < text.size() && text.at(i) >= QLatin1Char('0') && text.at(i) <= QLatin1Char('9');
             ++i)
            exponent = std::min<qint64>(exponent * 10 + (text.at(i).unicode() - '0'), 100000);
        if (i == expStart)
            return std::nullopt;
        if (expNegative)
            exponent = -exponent;
    }
    if (i != text.size())
        return std::nullopt;

    // The hundredths are the digits up to two places after the (shifted) point.
    constexpr qint64 saturation = 1'000'000'000'000LL;
    const qint64 keep = qint64(intDigits) + exponent + 2;
    qint64 value = 0;
    for (qint64 d = 0; d < keep; ++d) {
        const int digit = d < digits.size() ? digits.at(d).unicode() - '0' : 0;
        value = value * 10 + digit;
        if (value >= saturation) {
            value = saturation;
            break;
        }
    }
    return negative ? -value : value;
}

QString hundredthsText(qint64 hundredths) {
    const bool negative = hundredths < 0;
    const qint64 magnitude = negative ? -hundredths : hundredths;
    QString text = QString::number(magnitude / 100);
    const qint64 fraction = magnitude % 100;
    if (fraction != 0) {
        text += QLatin1Char('.');
        text += QLatin1Char(char('0' + fraction / 10));
        if (fraction % 10 != 0)
            text += QLatin1Char(char('0' + fraction % 10));
    }
    return negative ? QLatin1Char('-') + text : text;
}

QString horizontalScaleText(int scalingFactor, bool widescreen) {
    // In thousandths: the factor 1.333 is 1333 thousandths.
    qint64 value = qint64(scalingFactor) * (widescreen ? 1333 : 1000);
    const bool negative = value < 0;
    if (negative)
        value = -value;
    // Keep 4 significant digits, rounding half away from zero.
    qint64 digitsCount = QString::number(value).size(); // counts the thousandths digits too
    qint64 unit = 1;
    for (qint64 d = digitsCount; d > 4; --d)
        unit *= 10;
    if (unit > 1)
        value = (value + unit / 2) / unit * unit;
    QString text = QString::number(value / 1000) + QLatin1Char('.') +
                   QStringLiteral("%1").arg(value % 1000, 3, 10, QLatin1Char('0'));
    return negative ? QLatin1Char('-') + text : text;
}

} // namespace settings
