#include "library/properties_window.h"

#include "controls/color_schemes.h"
#include "controls/dialogs.h"
#include "controls/gradient_bar.h"
#include "controls/labeled_edit.h"
#include "controls/run_beside.h"
#include "controls/text_fit.h"
#include "controls/xi_button.h"
#include "controls/xi_panel.h"
#include "i18n/language.h"
#include "i18n/messages.h"
#include "platform/paths.h"
#include "platform/text_file.h"

#include <QKeyEvent>
#include <QLabel>
#include <QScopedValueRollback>
#include <QToolButton>

namespace library {

namespace {

struct EditPlace {
    const char* caption;
    int left, top, width;
};

// The ten fields in tab order: nine header fields, then the image path.
constexpr std::array<EditPlace, 10> editPlaces{{
    {"Hardware identifier", 10, 36, 192},
    {"Manufacturer ID", 10, 80, 192},
    {"Product number", 10, 125, 192},
    {"Version", 10, 170, 192},
    {"Release date", 213, 36, 192},
    {"Device information", 213, 80, 192},
    {"Target area symbol", 213, 125, 192},
    {"Compatible peripheral", 213, 170, 192},
    {"Game name", 10, 213, 395},
    {"CD image path", 10, 256, 368},
}};

} // namespace

TForm2::TForm2(QWidget* mainWindow) : controls::BorderlessWindow(mainWindow, Qt::Dialog) {
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Game properties"));
    setWindowModality(Qt::ApplicationModal);
    setFixedSize(430, 365);

    QFont bold = font();
    bold.setBold(true);
    QFont title = bold;
    title.setPixelSize(12);

    BarTitle = new controls::GradientBar(this);
    BarTitle->setObjectName(QStringLiteral("BarTitle"));
    BarTitle->setGeometry(1, 1, 428, 27);
    BTitle = new QLabel(QStringLiteral("Game properties"), BarTitle);
    BTitle->setObjectName(QStringLiteral("BTitle"));
    BTitle->setFont(title);
    // A press on the caption counts as a press on the title bar.
    BTitle->setAttribute(Qt::WA_TransparentForMouseEvents);
    BTitle->setGeometry(6, 0, 360, 27);
    BTitle->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    Xpanel15 = controls::makeSkinPanel(this, QStringLiteral("Xpanel15"), QRect(7, 38, 414, 287));

    // The close bar keeps its own colors whatever the skin.
    BarExit = new controls::GradientBar(this);
    BarExit->setObjectName(QStringLiteral("BarExit"));
    BarExit->setGradientStartColor(QColor(89, 89, 89));
    BarExit->setGradientEndColor(QColor(255, 98, 98));
    BarExit->setGeometry(0, 4, 27, 20);
    BExit = new QToolButton(BarExit);
    BExit->setObjectName(QStringLiteral("BExit"));
    BExit->setText(QStringLiteral(" X "));
    BExit->setToolTip(QStringLiteral("Close"));
    BExit->setCursor(Qt::PointingHandCursor);
    BExit->setAutoRaise(true);
    BExit->setFocusPolicy(Qt::NoFocus);
    BExit->setFont(bold);
    BExit->setStyleSheet(QStringLiteral("QToolButton { color: %1; background: transparent; "
                                        "border: none; }")
                             .arg(palette().color(QPalette::Base).name()));
    BExit->setGeometry(0, 0, 27, 20);

    Label1 = new QLabel(QStringLiteral("Details"), Xpanel15);
    Label1->setObjectName(QStringLiteral("Label1"));
    QFont heading = bold;
    heading.setUnderline(true);
    Label1->setFont(heading);
    Label1->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Label1->setGeometry(1, 1, Xpanel15->width() - 2, 13);

    for (size_t i = 0; i < editPlaces.size(); ++i) {
        auto* edit = new controls::LabeledEdit(Xpanel15);
        edit->setObjectName(QStringLiteral("LabeledEdit") + QString::number(i + 1));
        edit->setGeometry(editPlaces[i].left, editPlaces[i].top, editPlaces[i].width, 21);
        edit->setCaption(QString::fromLatin1(editPlaces[i].caption));
        edit->setReadOnly(true);
        LabeledEdits[i] = edit;
    }

    XiButton1 = new controls::TXiButton(Xpanel15);
    XiButton1->setObjectName(QStringLiteral("XiButton1"));
    XiButton1->setCaption(QStringLiteral("?"));
    XiButton1->setFont(bold);
    XiButton1->setGeometry(385, 256, 20, 21);
    XiButton1->setCursor(Qt::PointingHandCursor);
    XiButton1->setEnabled(false);

    XiButton6 = new controls::TXiButton(this);
    XiButton6->setObjectName(QStringLiteral("XiButton6"));
    XiButton6->setCaption(QStringLiteral("Close"));
    XiButton6->setGeometry(181, 336, 60, 21);
    XiButton6->setCursor(Qt::PointingHandCursor);

    connect(XiButton1, &controls::TXiButton::clicked, this, &TForm2::XiButton1Click);
    connect(XiButton6, &controls::TXiButton::clicked, this, &TForm2::XiButton6Click);
    connect(BExit, &QToolButton::clicked, this, &TForm2::BExitClick);
    connectTitleBar(BarTitle);
}

void TForm2::setSkinSource(std::function<int()> skinIndex) {
    skinIndex_ = std::move(skinIndex);
}

void TForm2::setExtension(QWidget* panel, std::function<void(const QString&)> fill) {
    if (extension_)
        return;
    extension_ = panel;
    fillExtension_ = std::move(fill);
    constexpr int Gap = 7;
    panel->setParent(this);
    panel->setGeometry(Xpanel15->x(), Xpanel15->geometry().bottom() + 1 + Gap, Xpanel15->width(),
                       panel->height());
    const int grow = panel->height() + Gap;
    XiButton6->move(XiButton6->x(), XiButton6->y() + grow);
    setFixedSize(width(), height() + grow);
    panel->show();
}

bool TForm2::showFor(const QString& gamePath) {
    // Read before anything shows, beside the window (the game's drive may be asleep): an
    // unreadable file stops the opening with its error.
    static bool reading = false; // a second opening meanwhile waits for the first
    if (reading)
        return false;
    QScopedValueRollback<bool> readingNow(reading, true);
    struct Read {
        bool exists = false;
        DiscHeader header;
    };
    Read read;
    if (!controls::runBeside<Read>(
            [gamePath] {
                Read found;
                found.exists = platform::fileExists(gamePath);
                if (found.exists)
                    found.header = readDiscHeader(resolveImage(gamePath));
                return found;
            },
            read, -1) ||
        !read.exists)
        return false;
    header_ = std::move(read.header);
    path_ = gamePath;
    if (fillExtension_)
        fillExtension_(gamePath);

    // Filled before showing, since a window is not activated on every platform when shown;
    // later activations fill it again with the same data.
    FormActivate();
    execModal();
    return true;
}

QString TForm2::fieldText(const QString& field) {
    const QString trimmed = platform::trimLowCodes(field);
    const qsizetype zero = trimmed.indexOf(QChar(0));
    return zero < 0 ? trimmed : trimmed.left(zero);
}

void TForm2::FormActivate() {
    BarTitle->resize(width() - 2, BarTitle->height());
    BarExit->move(Xpanel15->geometry().right() + 1 - BarExit->width(), BarExit->y());

    if (i18n::languageIndex() == 1)
        i18n::applyLanguageToPropertiesWindow(this);
    // Task switchers show the system title: it says what the title bar says.
    setWindowTitle(BTitle->text());
    controls::fitCaptions(Xpanel15);

    for (int i = 0; i < HeaderFieldCount; ++i) {
        LabeledEdits[static_cast<size_t>(i)]->setText(
            fieldText(header_.fields[static_cast<size_t>(i)]));
        LabeledEdits[static_cast<size_t>(i)]->setCursorPosition(0);
    }
    LabeledEdits[9]->setText(path_);
    LabeledEdits[9]->setCursorPosition(0);

    XiButton1->setEnabled(platform::upperExtension(path_) == QLatin1String(".M3U"));

    const controls::Skin skin = controls::skin(skinIndex_ ? skinIndex_() : controls::DefaultSkin);
    Xpanel15->setColorScheme(skin.panel);
    XiButton1->setColorScheme(skin.button);
    XiButton6->setColorScheme(skin.button);
    if (extension_) {
        for (controls::TXiButton* button : extension_->findChildren<controls::TXiButton*>())
            button->setColorScheme(skin.button);
    }
    BarTitle->setGradientEndColor(skin.tint);
}

void TForm2::XiButton1Click() {
    controls::dialogs().information(this, i18n::message(14));
}

void TForm2::XiButton6Click() {
    close();
}

void TForm2::BExitClick() {
    close();
}

void TForm2::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void TForm2::mouseMoveEvent(QMouseEvent* event) {
    // Moving over the window's body also moves it while a title-bar drag is on.
    titleBarMoved(event->globalPosition().toPoint());
    QWidget::mouseMoveEvent(event);
}

} // namespace library
