#include "launch/cd_window.h"

#include "controls/color_schemes.h"
#include "controls/gradient_bar.h"
#include "controls/xi_button.h"
#include "controls/xi_panel.h"
#include "i18n/language.h"
#include "test_support.h"

#include <QComboBox>
#include <QLabel>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>

using launch::TForm3;

namespace {

// Shows the window for a playlist and answers it once it is on screen.
int choose(TForm3& w, int discs, const QString& name, std::function<void(TForm3&)> answer) {
    QTimer::singleShot(0, &w, [&w, answer] {
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&w));
        answer(w);
    });
    return w.chooseDisc(discs, name);
}

QStringList entries(const TForm3& w) {
    QStringList items;
    for (int i = 0; i < w.ComboBox1->count(); ++i)
        items << w.ComboBox1->itemText(i);
    return items;
}

void clickLaunch(TForm3& w) {
    QTest::mouseClick(w.XiButton6, Qt::LeftButton);
}

TEST(CdWindow, ListsTheDiscsWithTheFirstSelected) {
    TForm3 w;
    const int medium = choose(w, 2, "Saga", [](TForm3& w) {
        EXPECT_EQ(entries(w), QStringList({"CD #1", "CD #2"}));
        EXPECT_EQ(w.ComboBox1->currentIndex(), 0);
        EXPECT_EQ(w.Label1->text(), "Saga");
        EXPECT_TRUE(w.XiButton6->isEnabled());
        clickLaunch(w);
    });
    EXPECT_EQ(medium, 0);
    EXPECT_FALSE(w.isVisible());

    const int third = choose(w, 3, "Three", [](TForm3& w) {
        EXPECT_EQ(w.ComboBox1->count(), 3);
        w.ComboBox1->setCurrentIndex(2);
        clickLaunch(w);
    });
    EXPECT_EQ(third, 2);

    choose(w, 12, "Twelve", [](TForm3& w) {
        const QStringList items = entries(w);
        ASSERT_EQ(items.size(), 12);
        EXPECT_EQ(items.first(), "CD #1");
        EXPECT_EQ(items[9], "CD #10");
        EXPECT_EQ(items.last(), "CD #12");
        EXPECT_EQ(w.Label1->text(), "Twelve");
        clickLaunch(w);
    });
}

TEST(CdWindow, EnterOnTheListLaunchesEscapeAndClosingCancel) {
    TForm3 w;
    EXPECT_EQ(choose(w, 3, "G",
                     [](TForm3& w) {
                         w.ComboBox1->setCurrentIndex(1);
                         QTest::keyClick(w.ComboBox1, Qt::Key_Return);
                     }),
              1);
    EXPECT_EQ(choose(w, 3, "G", [](TForm3& w) { QTest::keyClick(w.ComboBox1, Qt::Key_Escape); }),
              -1);
    EXPECT_EQ(choose(w, 3, "G", [](TForm3& w) { w.close(); }), -1);
    // A cancelled showing leaves nothing behind for the next one.
    EXPECT_EQ(choose(w, 2, "G", [](TForm3& w) { clickLaunch(w); }), 0);
}

TEST(CdWindow, NoDiscsMeansNothingToLaunch) {
    TForm3 w;
    const int medium = choose(w, 0, "Empty", [](TForm3& w) {
        EXPECT_EQ(w.ComboBox1->count(), 0);
        EXPECT_FALSE(w.XiButton6->isEnabled());
        w.XiButton6Click();
        QTest::keyClick(w.ComboBox1, Qt::Key_Return);
        EXPECT_TRUE(w.isVisible());
        w.close();
    });
    EXPECT_EQ(medium, -1);
    // The next playlist with discs can be launched again.
    EXPECT_EQ(choose(w, 1, "One", [](TForm3& w) { clickLaunch(w); }), 0);
}

TEST(CdWindow, ComingBackToTheWindowKeepsThePickedDisc) {
    TForm3 w;
    const int medium = choose(w, 4, "G", [](TForm3& w) {
        w.ComboBox1->setCurrentIndex(3);
        w.FormActivate();
        EXPECT_EQ(w.ComboBox1->currentIndex(), 3);
        EXPECT_EQ(w.ComboBox1->count(), 4);
        clickLaunch(w);
    });
    EXPECT_EQ(medium, 3);
}

TEST(CdWindow, LayoutAndSkin) {
    QWidget main(nullptr, Qt::FramelessWindowHint);
    main.setGeometry(200, 150, 694, 503);
    main.show();
    TForm3 w(&main);
    int skinIndex = 4;
    w.setSkinSource([&] { return skinIndex; });
    choose(w, 2, "G", [&main](TForm3& w) {
        EXPECT_EQ(w.size(), QSize(300, 140));
        EXPECT_EQ(w.BarTitle->geometry(), QRect(1, 1, 298, 27));
        EXPECT_EQ(w.BTitle->text(), "CD selection");
        EXPECT_TRUE(w.BTitle->font().bold());
        EXPECT_EQ(w.BTitle->font().pixelSize(), 12);
        EXPECT_EQ(w.Xpanel15->geometry(), QRect(7, 37, 285, 67));
        EXPECT_EQ(w.ComboBox1->parentWidget(), w.Xpanel15);
        EXPECT_EQ(w.ComboBox1->pos(), QPoint(13, 29));
        EXPECT_EQ(w.ComboBox1->width(), 260);
        EXPECT_FALSE(w.ComboBox1->isEditable());
        EXPECT_EQ(w.Label1->parentWidget(), w.Xpanel15);
        EXPECT_TRUE(w.Label1->font().bold() && w.Label1->font().underline());
        EXPECT_EQ(w.XiButton6->geometry(), QRect(125, 111, 60, 21));
        EXPECT_EQ(w.XiButton6->cursor().shape(), Qt::PointingHandCursor);
        // Centred over the main window.
        EXPECT_EQ(w.pos(), main.pos() + QPoint((694 - 300) / 2, (503 - 140) / 2));

        const controls::Skin skin = controls::skin(4);
        EXPECT_EQ(w.BarTitle->gradientEndColor(), skin.tint);
        EXPECT_EQ(w.Xpanel15->colorScheme(), skin.panel);
        EXPECT_EQ(w.XiButton6->colorScheme(), skin.button);

        // The frame: a black outline around the button-colored face.
        const QImage image = w.grab().toImage();
        EXPECT_EQ(image.pixelColor(0, 0), QColor(Qt::black));
        EXPECT_EQ(image.pixelColor(299, 139), QColor(Qt::black));
        EXPECT_EQ(image.pixelColor(150, 139), QColor(Qt::black));
        EXPECT_EQ(image.pixelColor(3, 120), w.palette().color(QPalette::Button));
        if (const QByteArray dir = qgetenv("VARNIX_SCREENSHOT_DIR"); !dir.isEmpty())
            image.save(QString::fromLocal8Bit(dir) + "/cd_window.png");
        clickLaunch(w);
    });
}

TEST(CdWindow, TakesTheTranslationOnActivation) {
    // Every line of the language file starts with one character the reader drops.
    QByteArray lang = " [Panels]\r\n";
    for (int i = 1; i < 13; ++i)
        lang += " \r\n";
    lang += " CD-Auswahl\r\n [Buttons]\r\n \r\n \r\n \r\n \r\n \r\n Starten\r\n";
    testsupport::TempFolder app;
    app.write("Res/Lang.dat", lang);
    QWidget main;
    i18n::setLanguageIndex(1);
    i18n::loadLanguage(app.path(), &main);

    TForm3 w;
    choose(w, 1, "G", [](TForm3& w) {
        EXPECT_EQ(w.BTitle->text(), "CD-Auswahl");
        EXPECT_EQ(w.XiButton6->caption(), "Starten");
        EXPECT_EQ(w.ComboBox1->itemText(0), "CD #1");
        clickLaunch(w);
    });
    i18n::setLanguageIndex(0);
}

TEST(CdWindow, DraggedByItsTitleBar) {
    TForm3 w;
    choose(w, 1, "G", [](TForm3& w) {
        const QPoint start = w.pos();
        emit w.BarTitle->pressed(start + QPoint(50, 10));
        emit w.BarTitle->moved(start + QPoint(80, 5));
        EXPECT_EQ(w.pos(), start + QPoint(30, -5));
        emit w.BarTitle->released(start + QPoint(80, 5));
        emit w.BarTitle->moved(start + QPoint(200, 200));
        EXPECT_EQ(w.pos(), start + QPoint(30, -5));
        clickLaunch(w);
    });
}

} // namespace
