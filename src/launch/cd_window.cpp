#include "launch/cd_window.h"

#include "controls/color_schemes.h"
#include "controls/gradient_bar.h"
#include "controls/text_fit.h"
#include "controls/xi_button.h"
#include "controls/xi_panel.h"
#include "i18n/language.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>

namespace launch {

TForm3::TForm3(QWidget* mainWindow) : controls::BorderlessWindow(mainWindow, Qt::Dialog) {
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("CD selection"));
    setWindowModality(Qt::ApplicationModal);
    setFixedSize(300, 140);

    BarTitle = new controls::GradientBar(this);
    BarTitle->setObjectName(QStringLiteral("BarTitle"));
    BarTitle->setGeometry(1, 1, 298, 27);
    BTitle = new QLabel(QStringLiteral("CD selection"), BarTitle);
    BTitle->setObjectName(QStringLiteral("BTitle"));
    QFont title = font();
    title.setPixelSize(12);
    title.setBold(true);
    BTitle->setFont(title);
    // A press on the caption counts as a press on the title bar.
    BTitle->setAttribute(Qt::WA_TransparentForMouseEvents);
    BTitle->setGeometry(6, 0, 280, 27);
    BTitle->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    Xpanel15 = controls::makeSkinPanel(this, QStringLiteral("Xpanel15"), QRect(7, 37, 285, 67));

    Label1 = new QLabel(QStringLiteral("Game name"), Xpanel15);
    Label1->setObjectName(QStringLiteral("Label1"));
    QFont heading = font();
    heading.setBold(true);
    heading.setUnderline(true);
    Label1->setFont(heading);
    Label1->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Label1->setGeometry(1, 1, Xpanel15->width() - 2, 13);

    ComboBox1 = new QComboBox(Xpanel15);
    ComboBox1->setObjectName(QStringLiteral("ComboBox1"));
    ComboBox1->setEditable(false);
    ComboBox1->setGeometry(13, 29, 260, 21);
    ComboBox1->installEventFilter(this);

    XiButton6 = new controls::TXiButton(this);
    XiButton6->setObjectName(QStringLiteral("XiButton6"));
    XiButton6->setCaption(QStringLiteral("Launch"));
    XiButton6->setGeometry(125, 111, 60, 21);
    XiButton6->setCursor(Qt::PointingHandCursor);

    connect(XiButton6, &controls::TXiButton::clicked, this, &TForm3::XiButton6Click);
    connectTitleBar(BarTitle);
}

void TForm3::setSkinSource(std::function<int()> skinIndex) {
    skinIndex_ = std::move(skinIndex);
}

int TForm3::chooseDisc(int discCount, const QString& playlistName) {
    discCount_ = qMax(0, discCount);
    playlistName_ = playlistName;
    medium_ = -1;
    listFilled_ = false;

    // Filled before showing, since a window is not activated on every platform when shown;
    // later activations fill it again.
    FormActivate();
    execModal();
    return medium_;
}

void TForm3::FormActivate() {
    BarTitle->resize(width() - 2, BarTitle->height());
    if (i18n::languageIndex() == 1)
        i18n::applyLanguageToCdWindow(this);
    // Task switchers show the system title: it says what the title bar says.
    setWindowTitle(BTitle->text());
    controls::fitCaptions(this);

    const controls::Skin skin = controls::skin(skinIndex_ ? skinIndex_() : controls::DefaultSkin);
    Xpanel15->setColorScheme(skin.panel);
    XiButton6->setColorScheme(skin.button);
    BarTitle->setGradientEndColor(skin.tint);

    Label1->setText(playlistName_);

    // The disc list is built once per showing: coming back to the window from another one
    // keeps the disc the user has picked instead of silently falling back to the first.
    if (!listFilled_) {
        ComboBox1->clear();
        for (int i = 1; i <= discCount_; ++i)
            ComboBox1->addItem(QStringLiteral("CD #") + QString::number(i));
        ComboBox1->setCurrentIndex(discCount_ > 0 ? 0 : -1);
        listFilled_ = true;
    }
    // With no disc there is nothing to launch.
    XiButton6->setEnabled(discCount_ > 0);
}

void TForm3::XiButton6Click() {
    if (ComboBox1->currentIndex() < 0)
        return;
    medium_ = ComboBox1->currentIndex();
    close();
}

void TForm3::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Escape:
        close();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (XiButton6->isEnabled())
            XiButton6Click();
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

bool TForm3::eventFilter(QObject* watched, QEvent* event) {
    // Enter on the closed disc list launches; with the list's popup open it only picks.
    if (watched == ComboBox1 && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape) {
            keyPressEvent(static_cast<QKeyEvent*>(event));
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace launch
