// The main window's controls: created with their design names, places and captions, and
// connected to their handlers.
#include "app/main_window.h"

#include "controls/design_font.h"
#include "controls/gradient_bar.h"
#include "controls/xi_button.h"
#include "controls/xi_panel.h"
#include "library/game_list.h"
#include "library/game_list_view.h"

#include <QAbstractItemView>
#include <QAction>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QShortcut>
#include <QStyledItemDelegate>
#include <QSystemTrayIcon>
#include <QTableView>
#include <QToolButton>

namespace {

// The English flag of the language selector's first entry, 24 x 16.
QIcon englishFlag() {
    QPixmap pixmap(24, 16);
    pixmap.fill(QColor(0x1F, 0x3A, 0x93));
    QPainter p(&pixmap);
    p.setPen(QPen(Qt::white, 4));
    p.drawLine(0, 0, 24, 16);
    p.drawLine(0, 16, 24, 0);
    p.setPen(QPen(QColor(0xC8, 0x10, 0x2E), 1));
    p.drawLine(0, 0, 24, 16);
    p.drawLine(0, 16, 24, 0);
    p.fillRect(10, 0, 4, 16, Qt::white);
    p.fillRect(0, 6, 24, 4, Qt::white);
    p.fillRect(11, 0, 2, 16, QColor(0xC8, 0x10, 0x2E));
    p.fillRect(0, 7, 24, 2, QColor(0xC8, 0x10, 0x2E));
    return QIcon(pixmap);
}

QString titleButtonStyle(const QColor& text) {
    return QStringLiteral("QToolButton { color: %1; background: transparent; border: none; }"
                          "QToolButton:hover { border: 1px solid %1; }"
                          "QToolButton:pressed { border: 1px solid %1; padding-top: 2px; }")
        .arg(text.name());
}

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    return label;
}

// A push button of the window: named, captioned, placed, with the hand cursor.
controls::TXiButton* makeButton(QWidget* parent, const char* name, const QString& caption,
                                const QRect& geometry) {
    auto* button = new controls::TXiButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setCaption(caption);
    button->setGeometry(geometry);
    button->setCursor(Qt::PointingHandCursor);
    return button;
}

} // namespace

void TForm1::buildWindow() {
    BarTitle = new controls::GradientBar(this);
    BarTitle->setObjectName(QStringLiteral("BarTitle"));
    BarTitle->setGeometry(1, 1, 692, 27);
    BarTitle->setGradientEndColor(QColor(0xDEE0DA));
    BIcon = new QLabel(BarTitle);
    BIcon->setObjectName(QStringLiteral("BIcon"));
    BIcon->setPixmap(QIcon(QStringLiteral(":/varnix.png")).pixmap(16, 16));
    BIcon->setGeometry(4, 3, 22, 22);
    BIcon->setAlignment(Qt::AlignCenter);
    BIcon->setAttribute(Qt::WA_TransparentForMouseEvents);
    BTitle = makeLabel(BarTitle, "BTitle", QStringLiteral("Varnix (v" VARNIX_VERSION ")"));
    BTitle->setFont(controls::designFont(12, true));
    BTitle->setGeometry(30, 0, 300, 27);
    BTitle->setAttribute(Qt::WA_TransparentForMouseEvents);
    connectTitleBar(BarTitle);

    BarMini = new controls::GradientBar(this);
    BarMini->setObjectName(QStringLiteral("BarMini"));
    BarMini->setGeometry(621, 4, 27, 20);
    BarMini->setGradientStartColor(palette().color(QPalette::Shadow));
    // Like the close bar, the minimize bar's gradient ends in the window colour, white.
    BarMini->setGradientEndColor(palette().color(QPalette::Base));
    BMini = new QToolButton(BarMini);
    BMini->setObjectName(QStringLiteral("BMini"));
    BMini->setText(QStringLiteral(" _ "));
    BMini->setToolTip(QStringLiteral("Minimize"));
    BMini->setAutoRaise(true);
    BMini->setCursor(Qt::PointingHandCursor);
    BMini->setGeometry(0, 0, 27, 20);
    // Hovered or pressed, the caption buttons keep their bar's gradient and their text colour
    // and only gain a thin frame.
    BMini->setStyleSheet(titleButtonStyle(palette().color(QPalette::ButtonText)));
    BMini->setFocusPolicy(Qt::NoFocus);
    connect(BMini, &QToolButton::clicked, this, [this] { showMinimized(); });

    BarExit = new controls::GradientBar(this);
    BarExit->setObjectName(QStringLiteral("BarExit"));
    BarExit->setGeometry(658, 4, 27, 20);
    BarExit->setGradientStartColor(QColor(89, 89, 89));
    BarExit->setGradientEndColor(QColor(255, 98, 98));
    BExit = new QToolButton(BarExit);
    BExit->setObjectName(QStringLiteral("BExit"));
    BExit->setText(QStringLiteral(" X "));
    BExit->setToolTip(QStringLiteral("Close"));
    BExit->setAutoRaise(true);
    BExit->setCursor(Qt::PointingHandCursor);
    BExit->setFont(controls::designFont(11, true));
    BExit->setStyleSheet(titleButtonStyle(palette().color(QPalette::Base)));
    BExit->setGeometry(0, 0, 27, 20);
    BExit->setFocusPolicy(Qt::NoFocus);
    connect(BExit, &QToolButton::clicked, this, [this] { close(); });

    ComboBoxEx1 = new QComboBox(this);
    ComboBoxEx1->setObjectName(QStringLiteral("ComboBoxEx1"));
    ComboBoxEx1->setGeometry(619, 35, 64, 22);
    ComboBoxEx1->setIconSize(QSize(24, 16));
    ComboBoxEx1->addItem(englishFlag(), QStringLiteral("En"));
    ComboBoxEx1->addItem(QStringLiteral("???"));
    ComboBoxEx1->setToolTip(QStringLiteral("Select Language"));
    // The 24-pixel flag, the caption and the arrow share 64 pixels: keep the margins narrow.
    ComboBoxEx1->setStyleSheet(QStringLiteral("QComboBox { padding-left: 2px; padding-right: 0px; }"
                                              "QComboBox::drop-down { width: 12px; }"));
    connect(ComboBoxEx1, &QComboBox::activated, this, &TForm1::ComboBoxEx1Change);

    ListView1 = library::createGameListView(this);
    ListView1->setObjectName(QStringLiteral("ListView1"));
    ListView1->setGeometry(10, 37, 377, 388);
    ListView1->setContextMenuPolicy(Qt::CustomContextMenu);
    // Tab leaves the list for the next control instead of walking its cells (and games).
    ListView1->setTabKeyNavigation(false);
    ListView1->installEventFilter(this);
    // Files and folders dropped on the list are added as the menu adds them.
    ListView1->setAcceptDrops(true);
    ListView1->viewport()->setAcceptDrops(true);
    ListView1->setDragDropMode(QAbstractItemView::DropOnly);
    ListView1->viewport()->installEventFilter(this);
    connect(ListView1->horizontalHeader(), &QHeaderView::sectionClicked, this,
            &TForm1::ListView1ColumnClick);
    connect(ListView1, &QTableView::doubleClicked, this, [this] { ListView1DblClick(); });
    connect(ListView1, &QWidget::customContextMenuRequested, this, [this](QPoint at) {
        PopupMenu1Popup();
        PopupMenu1->popup(ListView1->viewport()->mapToGlobal(at));
    });

    // The filter field lies over the bottom of the list, shown only while filtering.
    filterEdit_ = new QLineEdit(this);
    filterEdit_->setObjectName(QStringLiteral("FilterEdit"));
    filterEdit_->setGeometry(12, 401, 260, 22);
    filterEdit_->installEventFilter(this);
    filterEdit_->hide();
    connect(filterEdit_, &QLineEdit::textChanged, this, [this](const QString& text) {
        filter_.setText(text);
        applyFilter();
    });
    cancelBatch_ = new QShortcut(Qt::Key_Escape, this);
    cancelBatch_->setEnabled(false);
    connect(cancelBatch_, &QShortcut::activated, this, [this] { gameList_->cancelBatch(); });
    auto* find = new QShortcut(QKeySequence::Find, this);
    connect(find, &QShortcut::activated, this, &TForm1::showFilter);

    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    const auto addAction = [this](const char* name, const char* text, void (TForm1::*slot)()) {
        auto* action = new QAction(QString::fromLatin1(text), PopupMenu1);
        action->setObjectName(QString::fromLatin1(name));
        PopupMenu1->addAction(action);
        connect(action, &QAction::triggered, this, slot);
        return action;
    };
    Addgames1 = addAction("Addgames1", "Add games", &TForm1::Addgames1Click);
    Addfolder1 = addAction("Addfolder1", "Add folder...", &TForm1::Addfolder1Click);
    Deleteitem1 = addAction("Deleteitem1", "Delete item", &TForm1::Deleteitem1Click);
    Clearlist2 = addAction("Clearlist2", "Clear list", &TForm1::Clearlist2Click);
    PopupMenu1->addSeparator();
    Deletegameprofile1 =
        addAction("Deletegameprofile1", "Delete profile", &TForm1::Deletegameprofile1Click);
    Resettoglobal1 = addAction("Resettoglobal1", "Reset to global", &TForm1::Resettoglobal1Click);
    PopupMenu1->addSeparator();
    Gameproperties1 =
        addAction("Gameproperties1", "Game properties", &TForm1::Gameproperties1Click);
    PopupMenu1->addSeparator();
    Openfolder1 = addAction("Openfolder1", "Open application folder", &TForm1::Openfolder1Click);

    Xpanel14 = controls::makeSkinPanel(this, QStringLiteral("Xpanel14"), QRect(397, 202, 278, 74));
    QFont warningFont = controls::designFont(11, true);
    warningFont.setUnderline(true);
    Xpanel14->setFont(warningFont);
    Xpanel14->setCursor(Qt::PointingHandCursor);
    Xpanel14->installEventFilter(this);
    Label30 = makeLabel(Xpanel14, "Label30", QStringLiteral("Warning!"));
    Label30->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Label30->setGeometry(4, 3, 270, 15);
    Label17 = makeLabel(Xpanel14, "Label17",
                        QStringLiteral("The list of games is empty. Please add some games to the "
                                       "list by right clicking of mouse on the list field. Select "
                                       "\"Add games\" from the drop down menu."));
    Label17->setWordWrap(true);
    Label17->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    Label17->setGeometry(4, 17, 270, 55);

    GroupBox3 = new QGroupBox(QStringLiteral("Game profile"), this);
    GroupBox3->setObjectName(QStringLiteral("GroupBox3"));
    GroupBox3->setGeometry(8, 428, 285, 51);
    XiButton1 =
        makeButton(GroupBox3, "XiButton1", QStringLiteral("Load profile"), QRect(10, 20, 127, 23));
    XiButton1->setEnabled(false);
    connect(XiButton1, &controls::TXiButton::clicked, this, &TForm1::XiButton1Click);
    XiButton2 =
        makeButton(GroupBox3, "XiButton2", QStringLiteral("Save profile"), QRect(148, 20, 127, 23));
    XiButton2->setEnabled(false);
    connect(XiButton2, &controls::TXiButton::clicked, this, &TForm1::XiButton2Click);

    GroupBox5 = new QGroupBox(QStringLiteral("Skins"), this);
    GroupBox5->setObjectName(QStringLiteral("GroupBox5"));
    GroupBox5->setGeometry(299, 428, 88, 51);
    ComboBox14 = new QComboBox(GroupBox5);
    ComboBox14->setObjectName(QStringLiteral("ComboBox14"));
    ComboBox14->addItems({QStringLiteral("Desert"), QStringLiteral("Grass"), QStringLiteral("Rose"),
                          QStringLiteral("Silver"), QStringLiteral("Sky"), QStringLiteral("Sun")});
    ComboBox14->setCurrentIndex(3);
    ComboBox14->setGeometry(8, 20, 72, 22);
    ComboBox14->setToolTip(
        QStringLiteral("Select one of the items of the list to change the panels skin."));
    connect(ComboBox14, &QComboBox::activated, this, &TForm1::ComboBox14Change);

    StatusBar1 = new QWidget(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setGeometry(1, 483, 692, 19);
    const int widths[4] = {100, 50, 70, 692 - 220};
    const char* texts[4] = {"Total games:", "", "Status:", ""};
    int x = 0;
    for (int i = 0; i < 4; ++i) {
        auto* panel = new QLabel(QString::fromLatin1(texts[i]), StatusBar1);
        panel->setObjectName(QStringLiteral("StatusBar1Panel%1").arg(i));
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        panel->setIndent(3);
        panel->setGeometry(x, 0, widths[i] - 2, 19);
        x += widths[i];
        StatusPanels[i] = panel;
    }

    XiButton7 = makeButton(this, "XiButton7", QStringLiteral("About"), QRect(644, 485, 42, 16));
    XiButton7->setToolTip(QStringLiteral("About Varnix."));
    XiButton7->raise();
    connect(XiButton7, &controls::TXiButton::clicked, this, &TForm1::XiButton7Click);

    for (const QKeySequence& keys : {QKeySequence(Qt::CTRL | Qt::Key_Tab)})
        connect(new QShortcut(keys, this), &QShortcut::activated, this,
                [this] { cycleSettingsTab(1); });
    for (const QKeySequence& keys : {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Backtab),
                                     QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Tab)})
        connect(new QShortcut(keys, this), &QShortcut::activated, this,
                [this] { cycleSettingsTab(-1); });

    TrayIcon1 = new QSystemTrayIcon(QIcon(QStringLiteral(":/varnix.png")), this);
    TrayIcon1->setObjectName(QStringLiteral("TrayIcon1"));
}

// The count panel keeps its designed width unless its text needs more ("1234 (12 missing)",
// "1200 of 10000"); the panels after it then move right and the status panel gives up the room.
void TForm1::fitCountPanel() {
    QLabel* count = StatusPanels[1];
    const int designed = 50 - 2;
    const int needed = count->fontMetrics().horizontalAdvance(count->text()) +
                       2 * (count->frameWidth() + count->indent()) + 2;
    const int width = qMax(designed, needed);
    if (width == count->width())
        return;
    QLabel* caption = StatusPanels[2];
    QLabel* status = StatusPanels[3];
    const int statusRight = status->geometry().right();
    count->resize(width, count->height());
    caption->move(count->x() + width + 2, caption->y());
    status->setGeometry(caption->x() + caption->width() + 2, status->y(),
                        statusRight - caption->x() - caption->width() - 1, status->height());
    setStatus(status_); // shortened again to its new room
}

// Title-bar layout at creation: the title bar spans the window less its border, and the close
// and minimize bars end flush with the language selector's edges.
void TForm1::layOutTitleBar() {
    BarTitle->resize(width() - 2, BarTitle->height());
    const int selectorLeft = ComboBoxEx1->x();
    const int selectorWidth = ComboBoxEx1->width();
    BarExit->move(selectorLeft + selectorWidth - BarExit->width(), BarExit->y());
    BarMini->move(selectorLeft, BarMini->y());
    XiButton7->move(XiButton7->x(), StatusBar1->y() + 2);
}

// The language drop-down is as wide as its widest entry: flag and text show whole.
void TForm1::fitLanguageSelectorPopup() {
    const QFontMetrics metrics(ComboBoxEx1->view()->font());
    int widest = 0;
    for (int i = 0; i < ComboBoxEx1->count(); ++i)
        widest = qMax(widest, metrics.horizontalAdvance(ComboBoxEx1->itemText(i)));
    // Plain list items: the menu-style items of the drop-down cut the text short beside the flag.
    ComboBoxEx1->setItemDelegate(new QStyledItemDelegate(ComboBoxEx1));
    ComboBoxEx1->view()->setTextElideMode(Qt::ElideNone);
    ComboBoxEx1->view()->setMinimumWidth(widest + ComboBoxEx1->iconSize().width() + 24);
}
