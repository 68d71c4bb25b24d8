#include "library/properties_window.h"

#include "controls/color_schemes.h"
#include "controls/gradient_bar.h"
#include "controls/labeled_edit.h"
#include "controls/xi_button.h"
#include "controls/xi_panel.h"
#include "disc_writer.h"
#include "i18n/language.h"
#include "i18n/messages.h"
#include "test_support.h"

#include <QLabel>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

#include <functional>

using library::TForm2;
using testsupport::TempFolder;

namespace {

class PropertiesWindow : public ::testing::Test {
protected:
    void SetUp() override { i18n::initMessageTable(); }

    // Opens the window for a game and runs `look` once it is on screen, then closes it.
    bool open(const QString& path, std::function<void(TForm2&)> look = {}) {
        testsupport::whenShown(&window, [this, look] {
            EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
            if (look)
                look(window);
            if (window.isVisible())
                window.close();
        });
        return window.showFor(path);
    }

    QStringList fields() const {
        QStringList texts;
        for (const controls::LabeledEdit* edit : window.LabeledEdits)
            texts << edit->text();
        return texts;
    }

    TempFolder dir;
    testsupport::FakeDialogs dialogs;
    TForm2 window;
};

discwriter::Header header(const QByteArray& product, const QByteArray& title) {
    discwriter::Header h;
    h.productNumber = product;
    h.title = title;
    return h;
}

TEST_F(PropertiesWindow, ShowsTheTrimmedHeaderAndThePathOfACueGame) {
    const QString game = discwriter::writeCueGame(dir.path(), "Panzer", header("T-123", "PANZER"));

    EXPECT_TRUE(open(game));

    // The product number and title come padded with blanks; the fields show them without.
    EXPECT_EQ(fields(), QStringList({"SEGA SEGASATURN", "SEGA TP T-000", "T-123", "V1.000",
                                     "20260101", "CD-1/1", "JTUE", "J", "PANZER", game}));
    EXPECT_FALSE(window.XiButton1->isEnabled());
    EXPECT_FALSE(window.isVisible());
}

TEST_F(PropertiesWindow, CcdGameAndOpeningAgainForAnotherGame) {
    const QString first = discwriter::writeCcdGame(dir.path(), "First", header("T-1", "ONE"));
    const QString second = discwriter::writeCueGame(dir.path(), "Second", header("MK-81000", "TWO"),
                                                    discwriter::Sectors::Cooked2048);

    EXPECT_TRUE(open(first));
    EXPECT_EQ(window.LabeledEdits[2]->text(), "T-1");
    EXPECT_EQ(window.LabeledEdits[8]->text(), "ONE");
    EXPECT_EQ(window.LabeledEdits[9]->text(), first);

    EXPECT_TRUE(open(second));
    EXPECT_EQ(window.LabeledEdits[2]->text(), "MK-81000");
    EXPECT_EQ(window.LabeledEdits[8]->text(), "TWO");
    EXPECT_EQ(window.LabeledEdits[9]->text(), second);
}

TEST_F(PropertiesWindow, PlaylistShowsItsFirstDiscAndExplainsDiscChanges) {
    const QString game = discwriter::writeM3uGame(
        dir.path(), "Saga", {header("T-2301", "SAGA ONE"), header("T-2302", "SAGA TWO")});
    QString upper = game;
    upper.chop(4);
    upper += ".M3u";
    QFile::rename(game, upper);

    EXPECT_TRUE(open(upper, [](TForm2& w) {
        EXPECT_TRUE(w.XiButton1->isEnabled());
        QTest::mouseClick(w.XiButton1, Qt::LeftButton);
    }));

    EXPECT_EQ(window.LabeledEdits[2]->text(), "T-2301");
    EXPECT_EQ(window.LabeledEdits[9]->text(), upper);
    EXPECT_EQ(dialogs.informations, QStringList({i18n::message(14)}));
}

TEST_F(PropertiesWindow, VanishedImageOpensNothingVanishedDataShowsEmptyFields) {
    EXPECT_FALSE(window.showFor(dir.file("Gone.cue")));
    EXPECT_FALSE(window.isVisible());

    const QString game = discwriter::writeCueGame(dir.path(), "Lost", header("T-9", "LOST"));
    ASSERT_TRUE(QFile::remove(dir.file("Lost (Track 01).bin")));
    EXPECT_TRUE(open(game));
    EXPECT_EQ(fields(), QStringList({"", "", "", "", "", "", "", "", "", game}));
}

TEST(PropertiesFieldText, TrimsLowCodesAndEndsAtAZeroByte) {
    EXPECT_EQ(TForm2::fieldText("  T-123    "), "T-123");
    EXPECT_EQ(TForm2::fieldText(QString::fromLatin1("\t\x01TITLE\r\n", 9)), "TITLE");
    EXPECT_EQ(TForm2::fieldText(QString::fromLatin1("AB\0CD   ", 8)), "AB");
    EXPECT_EQ(TForm2::fieldText(QString::fromLatin1("\0\0X Y\0", 6)), "X Y");
}

TEST_F(PropertiesWindow, CloseXAndEscapeCloseTheWindow) {
    const QString game = discwriter::writeCueGame(dir.path(), "G", header("T-1", "G"));
    const std::function<void(TForm2&)> closers[] = {
        [](TForm2& w) { QTest::mouseClick(w.XiButton6, Qt::LeftButton); },
        [](TForm2& w) { w.BExit->click(); },
        [](TForm2& w) { QTest::keyClick(w.LabeledEdits[9], Qt::Key_Escape); },
    };
    for (const auto& closer : closers) {
        EXPECT_TRUE(open(game, [&closer](TForm2& w) {
            closer(w);
            EXPECT_FALSE(w.isVisible());
        }));
    }
}

TEST_F(PropertiesWindow, TakesTheTranslationOnActivation) {
    // Every line of the language file starts with one character the reader drops.
    auto section = [](const char* name, int entry, const QByteArray& text) {
        QByteArray lines = QByteArray(" ") + name + "\r\n";
        for (int i = 1; i < entry; ++i)
            lines += " \r\n";
        return lines + " " + text + "\r\n";
    };
    dir.write("Res/Lang.dat", section("[Panels]", 12, "Angaben") +
                                  section("[Fields]", 5, "Produktnummer") +
                                  section("[Menu]", 5, "Spieleigenschaften") +
                                  section("[Buttons]", 5, "Schliessen"));
    QWidget main;
    i18n::setLanguageIndex(1);
    i18n::loadLanguage(dir.path(), &main);
    const QString game = discwriter::writeCueGame(dir.path(), "G", header("T-1", "G"));

    EXPECT_TRUE(open(game, [](TForm2& w) {
        EXPECT_EQ(w.Label1->text(), "Angaben");
        EXPECT_EQ(w.LabeledEdits[2]->caption(), "Produktnummer");
        EXPECT_EQ(w.LabeledEdits[2]->text(), "T-1");
        EXPECT_EQ(w.BTitle->text(), "Spieleigenschaften");
        EXPECT_EQ(w.XiButton6->caption(), "Schliessen");
    }));
    i18n::setLanguageIndex(0);
}

TEST_F(PropertiesWindow, LayoutSkinAndDrag) {
    QWidget main(nullptr, Qt::FramelessWindowHint);
    main.setGeometry(100, 80, 694, 503);
    main.show();
    TForm2 w(&main);
    w.setSkinSource([] { return 1; });
    const QString game = discwriter::writeCueGame(dir.path(), "G", header("T-1", "G"));
    testsupport::whenShown(&w, [&] {
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&w));
        EXPECT_EQ(w.size(), QSize(430, 365));
        EXPECT_EQ(w.pos(), main.pos() + QPoint((694 - 430) / 2, (503 - 365) / 2));
        EXPECT_EQ(w.BarTitle->geometry(), QRect(1, 1, 428, 27));
        EXPECT_EQ(w.BTitle->text(), "Game properties");
        EXPECT_EQ(w.Xpanel15->geometry(), QRect(7, 38, 414, 287));
        EXPECT_EQ(w.BarExit->geometry().right(), w.Xpanel15->geometry().right());
        EXPECT_EQ(w.BExit->text(), " X ");
        EXPECT_EQ(w.BExit->toolTip(), "Close");
        EXPECT_EQ(w.Label1->text(), "Details");
        EXPECT_EQ(w.XiButton1->geometry(), QRect(385, 256, 20, 21));
        EXPECT_EQ(w.XiButton6->geometry(), QRect(181, 336, 60, 21));
        EXPECT_EQ(w.XiButton6->caption(), "Close");

        // The edits are the panel's labelled edits in tab order, where the table puts them.
        const QList<controls::LabeledEdit*> edits =
            w.Xpanel15->findChildren<controls::LabeledEdit*>(Qt::FindDirectChildrenOnly);
        ASSERT_EQ(edits.size(), 10);
        const QRect places[] = {{10, 36, 192, 21},   {10, 80, 192, 21},   {10, 125, 192, 21},
                                {10, 170, 192, 21},  {213, 36, 192, 21},  {213, 80, 192, 21},
                                {213, 125, 192, 21}, {213, 170, 192, 21}, {10, 213, 395, 21},
                                {10, 256, 368, 21}};
        for (int i = 0; i < 10; ++i) {
            EXPECT_EQ(edits[i]->objectName(), "LabeledEdit" + QString::number(i + 1));
            EXPECT_EQ(edits[i]->geometry(), places[i]);
            EXPECT_TRUE(edits[i]->isReadOnly());
        }
        EXPECT_EQ(edits[2]->caption(), "Product number");
        EXPECT_EQ(edits[9]->caption(), "CD image path");

        const controls::Skin skin = controls::skin(1);
        EXPECT_EQ(w.BarTitle->gradientEndColor(), skin.tint);
        EXPECT_EQ(w.Xpanel15->colorScheme(), skin.panel);
        EXPECT_EQ(w.XiButton1->colorScheme(), skin.button);
        EXPECT_EQ(w.XiButton6->colorScheme(), skin.button);

        const QImage image = w.grab().toImage();
        EXPECT_EQ(image.pixelColor(0, 0), QColor(Qt::black));
        EXPECT_EQ(image.pixelColor(429, 364), QColor(Qt::black));
        EXPECT_EQ(image.pixelColor(3, 340), w.palette().color(QPalette::Button));
        if (const QByteArray out = qgetenv("VARNIX_SCREENSHOT_DIR"); !out.isEmpty())
            image.save(QString::fromLocal8Bit(out) + "/properties_window.png");

        // A drag starts on the title bar and follows the pointer over the body too.
        const QPoint start = w.pos();
        emit w.BarTitle->pressed(start + QPoint(40, 10));
        emit w.BarTitle->moved(start + QPoint(60, 30));
        EXPECT_EQ(w.pos(), start + QPoint(20, 20));
        QTest::mouseMove(&w, QPoint(200, 200));
        QMouseEvent move(QEvent::MouseMove, QPointF(200, 200), w.pos() + QPointF(200, 200),
                         Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&w, &move);
        EXPECT_EQ(w.pos(), start + QPoint(20, 20) + QPoint(200, 200) - QPoint(40, 10));
        const QPoint dropped = w.pos();
        emit w.BarTitle->released(QPoint());
        QApplication::sendEvent(&w, &move);
        EXPECT_EQ(w.pos(), dropped);
        w.close();
    });
    EXPECT_TRUE(w.showFor(game));
}

} // namespace
