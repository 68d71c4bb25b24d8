#include "input/mapping.h"

#include "i18n/messages.h"
#include "input/key_codes.h"

#include <QRegularExpression>

namespace input {

namespace {

bool isJoin(const QString& word) {
    return word == QLatin1String("&&") || word == QLatin1String("&!");
}

// "89" or "89+ctrl+shift" -> 89; -1 when the word is not a key number.
int keyNumber(const QString& word, bool* modified = nullptr) {
    const qsizetype plus = word.indexOf(QLatin1Char('+'));
    if (modified)
        *modified = plus >= 0;
    bool ok = false;
    const int n = word.left(plus).toInt(&ok, 10);
    return ok && n >= 0 ? n : -1;
}

QString describeKey(const QString& word) {
    bool modified = false;
    const int usage = keyNumber(word, &modified);
    QString name = usage >= 0 ? keyName(usage) : QString();
    if (name.isEmpty())
        name = word.section(QLatin1Char('+'), 0, 0);
    // Command keys carry modifiers: "30+ctrl+shift" reads "Ctrl+Shift+1".
    QString prefix;
    const QStringList parts = word.split(QLatin1Char('+'));
    for (qsizetype i = 1; i < parts.size(); ++i) {
        QString modifier = parts[i];
        if (!modifier.isEmpty())
            modifier[0] = modifier[0].toUpper();
        prefix += modifier + QLatin1Char('+');
    }
    return prefix + name;
}

// A joystick or mouse input: "button_3" -> "button 3", "abs_1+" -> "axis 1+".
QString describeInputWord(const QString& word) {
    if (word.startsWith(QLatin1String("button_")))
        return i18n::message(i18n::Extra::MapJoyButton).arg(word.mid(7));
    if (word.startsWith(QLatin1String("abs_")))
        return i18n::message(i18n::Extra::MapJoyAxis).arg(word.mid(4));
    if (word.startsWith(QLatin1String("cursor_")) || word.startsWith(QLatin1String("rel_")))
        return i18n::message(i18n::Extra::MapJoyAxis).arg(word.section(QLatin1Char('_'), 1));
    return word;
}

QString describeInput(const PhysicalInput& input, const QHash<QString, QString>& joysticks) {
    const QStringList& w = input.words;
    if (w.size() < 3)
        return w.join(QLatin1Char(' '));
    if (w[0] == QLatin1String("keyboard"))
        return i18n::message(i18n::Extra::MapKeyboard).arg(describeKey(w[2]));
    if (w[0] == QLatin1String("mouse"))
        return i18n::message(i18n::Extra::MapMouse).arg(describeInputWord(w[2]));
    if (w[0] == QLatin1String("joystick")) {
        const QString name = joysticks.value(w[1].toLower());
        return i18n::message(i18n::Extra::MapGamepad)
            .arg(name.isEmpty() ? w[1] : name, describeInputWord(w[2]));
    }
    return w.join(QLatin1Char(' '));
}

} // namespace

QList<Alternative> parseMapping(const QString& value) {
    QList<Alternative> alternatives;
    Alternative current;
    QString pendingJoin;
    const QStringList words = value.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (const QString& word : words) {
        if (word == QLatin1String("||")) {
            if (!current.isEmpty())
                alternatives.append(current);
            current.clear();
            pendingJoin.clear();
        } else if (isJoin(word)) {
            pendingJoin = word;
        } else if (current.isEmpty() || !pendingJoin.isEmpty()) {
            current.append(PhysicalInput{pendingJoin, {word}});
            pendingJoin.clear();
        } else {
            current.last().words.append(word);
        }
    }
    if (!current.isEmpty())
        alternatives.append(current);
    return alternatives;
}

QString formatMapping(const QList<Alternative>& alternatives) {
    QStringList parts;
    for (const Alternative& alternative : alternatives) {
        QString text;
        for (const PhysicalInput& input : alternative) {
            if (!text.isEmpty())
                text += QLatin1Char(' ') +
                        (input.join.isEmpty() ? QStringLiteral("&&") : input.join) +
                        QLatin1Char(' ');
            text += input.words.join(QLatin1Char(' '));
        }
        parts.append(text);
    }
    return parts.join(QLatin1String(" || "));
}

QString keyMapping(int usage) {
    return QStringLiteral("keyboard 0x0 ") + QString::number(usage);
}

QList<int> plainKeys(const QString& value) {
    QList<int> keys;
    for (const Alternative& alternative : parseMapping(value)) {
        if (alternative.size() != 1 || !alternative.first().isKeyboard() ||
            alternative.first().words.size() < 3)
            continue;
        bool modified = false;
        const int usage = keyNumber(alternative.first().words[2], &modified);
        if (usage >= 0 && !modified)
            keys.append(usage);
    }
    return keys;
}

QString replaceKeys(const QString& value, int usage) {
    QList<Alternative> kept{{PhysicalInput{QString(), keyMapping(usage).split(QLatin1Char(' '))}}};
    for (const Alternative& alternative : parseMapping(value)) {
        const bool keysOnly =
            std::all_of(alternative.begin(), alternative.end(),
                        [](const PhysicalInput& input) { return input.isKeyboard(); });
        if (!keysOnly)
            kept.append(alternative);
    }
    return formatMapping(kept);
}

QString addKey(const QString& value, int usage) {
    if (plainKeys(value).contains(usage))
        return formatMapping(parseMapping(value));
    QList<Alternative> alternatives = parseMapping(value);
    alternatives.append({PhysicalInput{QString(), keyMapping(usage).split(QLatin1Char(' '))}});
    return formatMapping(alternatives);
}

QHash<QString, QString> parseJoystickNames(const QString& emulatorOutput) {
    static const QRegularExpression line(
        QStringLiteral("^\\s*ID:\\s*(0x[0-9a-fA-F]+)\\s+-\\s+(.*?)\\s*$"),
        QRegularExpression::MultilineOption);
    QHash<QString, QString> names;
    auto it = line.globalMatch(emulatorOutput);
    while (it.hasNext()) {
        const QRegularExpressionMatch match = it.next();
        names.insert(match.captured(1).toLower(), match.captured(2).simplified());
    }
    return names;
}

QString describeMapping(const QString& value, const QHash<QString, QString>& joystickNames) {
    QString text;
    for (const Alternative& alternative : parseMapping(value)) {
        QString words;
        for (const PhysicalInput& input : alternative) {
            if (!words.isEmpty())
                words += input.join == QLatin1String("&!") ? QStringLiteral(" &! ")
                                                           : QStringLiteral(" + ");
            words += describeInput(input, joystickNames);
        }
        text = text.isEmpty() ? words : i18n::message(i18n::Extra::MapOr).arg(text, words);
    }
    return text.isEmpty() ? i18n::message(i18n::Extra::MapNone) : text;
}

} // namespace input
