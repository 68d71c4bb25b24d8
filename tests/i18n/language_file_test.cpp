#include "i18n/language.h"
#include "i18n/language_file.h"
#include "platform/text_file.h"

#include <QFile>
#include <QImage>

#include <gtest/gtest.h>

using namespace i18n;

namespace {

const QString shippedFolder = QStringLiteral(VARNIX_SOURCE_DIR "/res/lang");

} // namespace

TEST(LanguageFile, EveryLineLosesItsFirstCharacterWhateverItIs) {
    const QStringList lines =
        parseLanguageFile("x[Menu]\r\n\tTab\n#Hash\r\n \r\n\r\n[Open\n\xC3\xA4Umlaut\nlast");
    EXPECT_EQ(lines, (QStringList{"[Menu]", "Tab", "Hash", "", "", "Open", "Umlaut", "ast"}));
}

TEST(LanguageFile, ByteOrderMarkMeansUtf8AndIsNoCharacterOfTheFirstLine) {
    const QStringList lines = parseLanguageFile("\xEF\xBB\xBF [Language]\r\n Fran\xC3\xA7"
                                                "ais\r\n\xF0\x9F\x98\x80"
                                                "x");
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(lines[0], "[Language]");
    EXPECT_EQ(lines[1], QString::fromUtf8("Fran\xC3\xA7"
                                          "ais"));
    // A first character outside the basic plane goes whole, not half of it.
    EXPECT_EQ(lines[2], "x");
    EXPECT_EQ(findSection(lines, "[Language]"), 0);
}

// A file without the mark reads the same on every platform: UTF-8 when it is valid UTF-8, else
// the Windows code page that translations written on Windows use.
TEST(LanguageFile, UnmarkedFileIsUtf8WhenValidElseWindows1252) {
    EXPECT_EQ(parseLanguageFile(" Gr\xC3\xB6\xC3\x9F"
                                "e\r\n \xE2\x80\x9E"
                                "a\xE2\x80\x9C\r\n"),
              (QStringList{QString::fromUtf8("Gr\xC3\xB6\xC3\x9F"
                                             "e"),
                           QString::fromUtf8("\xE2\x80\x9E"
                                             "a\xE2\x80\x9C")}));
    EXPECT_EQ(parseLanguageFile(" Gr\xF6\xDF"
                                "e\r\n \x84"
                                "a\x93 \x80\x81\r\n"),
              (QStringList{QString::fromUtf8("Gr\xC3\xB6\xC3\x9F"
                                             "e"),
                           QString::fromUtf8("\xE2\x80\x9E"
                                             "a\xE2\x80\x9C \xE2\x82\xAC") +
                               QChar(0x81)}));
    // Lines ended CR CR LF lose every carriage return.
    EXPECT_EQ(parseLanguageFile(" [List]\r\r\n a\r\r\r\n b\r\n"),
              (QStringList{"[List]", "a", "b"}));
}

TEST(LanguageFile, SectionHeaderIsTheFirstLineThatStartsWithItExactly) {
    const QStringList lines = parseLanguageFile(" [menu]\n"       // other letter case
                                                "[Menu]\n"        // bracket is discarded
                                                " [Men\n"         // shorter than the header
                                                "![Menu] words\n" // words after the bracket
                                                " first\n"
                                                " [Menu]\n" // a second header for the section
                                                " second\n");
    EXPECT_EQ(findSection(lines, "[Menu]"), 3);
    EXPECT_EQ(findSection(lines, "[Hints]"), -1);
    EXPECT_EQ(findSection(QStringList(), "[Menu]"), -1);

    const LanguageText text(lines);
    EXPECT_EQ(text.entry("[Menu]", 1), "first");
    // Nothing ends a section: the second header is just entry 2.
    EXPECT_EQ(text.entry("[Menu]", 2), "[Menu]");
    EXPECT_EQ(text.entry("[Menu]", 3), "second");
    EXPECT_EQ(text.entry("[Menu]", 4), std::nullopt);
    EXPECT_EQ(text.entry("[Hints]", 1), std::nullopt);
}

TEST(LanguageFile, EntriesKeepBlanksAndMayBeEmpty) {
    const LanguageText text(parseLanguageFile(" [List]\r\n   padded  \r\n\r\n x\r\n"));
    EXPECT_EQ(text.entry("[List]", 1), "  padded  ");
    EXPECT_EQ(text.entry("[List]", 2), "");
    EXPECT_EQ(text.entry("[List]", 3), "x");
    EXPECT_EQ(text.entry("[List]", 4), std::nullopt);
}

TEST(LanguageFile, ChangingLanguageRestartsOnlyForAnotherRealLanguage) {
    EXPECT_TRUE(languageChangeRestarts(1, 0, "De"));
    EXPECT_TRUE(languageChangeRestarts(0, 1, "De"));
    EXPECT_FALSE(languageChangeRestarts(1, 1, "De"));
    EXPECT_FALSE(languageChangeRestarts(0, 0, "De"));
    EXPECT_FALSE(languageChangeRestarts(1, 0, "???"));
    EXPECT_FALSE(languageChangeRestarts(0, 1, "???"));
}

TEST(LanguageFile, LanguageIndexOutsideTheTwoEntriesFallsBackToEnglish) {
    setLanguageIndex(1);
    EXPECT_EQ(languageIndex(), 1);
    setLanguageIndex(7);
    EXPECT_EQ(languageIndex(), 0);
    setLanguageIndex(-1);
    EXPECT_EQ(languageIndex(), 0);
}

TEST(ShippedTranslation, HoldsEverySectionWithItsFullCountOfNonEmptyEntries) {
    QFile file(shippedFolder + "/Lang.dat");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    ASSERT_TRUE(bytes.startsWith("\xEF\xBB\xBF "));
    for (const QByteArray& line : platform::splitLines(bytes.mid(3)))
        EXPECT_TRUE(line.startsWith(' ')) << line.constData();

    const LanguageText text(parseLanguageFile(bytes));
    for (const LanguageSection& section : languageSections) {
        SCOPED_TRACE(section.header);
        const int position = findSection(text.lines(), section.header);
        ASSERT_GE(position, 0);
        // A later header for the same section would never be read.
        EXPECT_EQ(findSection(text.lines().mid(position + 1), section.header), -1);
        for (int k = 1; k <= section.entries; ++k) {
            const auto entry = text.entry(section.header, k);
            ASSERT_TRUE(entry.has_value()) << "entry " << k;
            EXPECT_FALSE(entry->isEmpty()) << "entry " << k;
            EXPECT_FALSE(entry->startsWith('[')) << "entry " << k << " runs into a header";
        }
    }
    EXPECT_EQ(text.entry("[Language]", 1), "De");
}

TEST(ShippedTranslation, FlagIsA24By16Icon) {
    const QImage flag(shippedFolder + "/lang_pic.ico");
    ASSERT_FALSE(flag.isNull());
    EXPECT_EQ(flag.size(), QSize(24, 16));
    EXPECT_EQ(flag.pixelColor(0, 0), QColor(0, 0, 0));
    EXPECT_EQ(flag.pixelColor(23, 15), QColor(0xFF, 0xCE, 0x00));
}
