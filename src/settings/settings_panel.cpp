#include "settings/settings_panel.h"

#include "controls/dialogs.h"
#include "controls/labeled_edit.h"
#include "controls/text_fit.h"
#include "controls/xi_button.h"
#include "controls/xi_panel.h"
#include "i18n/messages.h"
#include "settings/config_store.h"
#include "settings/global_values.h"
#include "settings/settings_table.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPlainTextEdit>
#include <QSignalBlocker>
#include <QStyleOption>
#include <QStyleOptionComboBox>
#include <QStyleOptionSlider>
#include <QStyleOptionTabWidgetFrame>
#include <QStylePainter>

#include <algorithm>
#include <cmath>

namespace settings {

namespace {

size_t slot(Ctl ctl) {
    return static_cast<size_t>(ctl);
}

// Layout inside a tab page (about 284 x 414 pixels): panels span the page with a small margin.
constexpr int kPanelX = 3;
constexpr int kPanelW = 278;
constexpr int kRowH = 21; // edits, lists and track bars
constexpr int kCheckH = 18;

QLabel* makeLabel(QWidget* parent, const char* objectName, const QString& text, int x, int y) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(objectName));
    label->move(x, y);
    label->adjustSize();
    return label;
}

// A label beside a row control, vertically centred on it.
QLabel* makeRowLabel(QWidget* parent, const char* objectName, const QString& text, int x,
                     int rowY) {
    QLabel* label = makeLabel(parent, objectName, text, x, rowY);
    label->move(x, rowY + (kRowH - label->height()) / 2);
    return label;
}

// A gradient panel with its bold title label in the top-left corner.
controls::TXiPanel* makePanel(QWidget* page, const char* objectName, const char* titleName,
                              const QString& title, int y, int height) {
    controls::TXiPanel* panel = controls::makeSkinPanel(page, QString::fromLatin1(objectName),
                                                        QRect(kPanelX, y, kPanelW, height));
    QLabel* label = makeLabel(panel, titleName, title, 8, 4);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    label->adjustSize();
    return panel;
}

QGroupBox* makeGroupBox(QWidget* parent, const char* objectName, const QString& title,
                        const QRect& geometry) {
    auto* box = new QGroupBox(title, parent);
    box->setObjectName(QString::fromLatin1(objectName));
    box->setGeometry(geometry);
    return box;
}

QLabel* makeHelpText(QWidget* parent, const char* objectName, const QString& text,
                     const QRect& geometry) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(objectName));
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setGeometry(geometry);
    return label;
}

QPlainTextEdit* makeMemo(QWidget* parent, const char* objectName, const QString& text,
                         const QRect& geometry) {
    auto* memo = new QPlainTextEdit(text, parent);
    memo->setObjectName(QString::fromLatin1(objectName));
    memo->setReadOnly(true);
    memo->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    memo->setGeometry(geometry);
    return memo;
}

void chainTabOrder(const QList<QWidget*>& widgets) {
    for (qsizetype i = 1; i < widgets.size(); ++i)
        QWidget::setTabOrder(widgets[i - 1], widgets[i]);
}

} // namespace

// --- TrackBar ---

TrackBar::TrackBar(QWidget* parent) : QSlider(Qt::Horizontal, parent) {
    setTickPosition(QSlider::NoTicks);
    setFocusPolicy(Qt::StrongFocus);
}

QRect TrackBar::selectionRect() const {
    if (value() <= minimum())
        return {};
    QStyleOptionSlider option;
    initStyleOption(&option);
    const QRect groove =
        style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderGroove, this);
    const QRect handle =
        style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, this);
    const int centreY = groove.center().y();
    const int right = handle.center().x();
    if (right <= groove.left() + 1)
        return {};
    return QRect(QPoint(groove.left() + 1, centreY - 1), QPoint(right, centreY + 2));
}

void TrackBar::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionSlider option;
    initStyleOption(&option);
    option.subControls = QStyle::SC_SliderGroove;
    painter.drawComplexControl(QStyle::CC_Slider, option);

    const QRect fill = selectionRect();
    if (!fill.isEmpty()) {
        const QColor colour = isEnabled() ? palette().color(QPalette::Active, QPalette::Highlight)
                                          : palette().color(QPalette::Disabled, QPalette::Mid);
        painter.fillRect(fill, colour);
    }

    initStyleOption(&option);
    option.subControls = QStyle::SC_SliderHandle;
    painter.drawComplexControl(QStyle::CC_Slider, option);
}

// --- SettingsPanel ---

SettingsPanel::SettingsPanel(SettingsModel* model, QWidget* parent)
    : QTabWidget(parent), model_(model) {
    setObjectName(QStringLiteral("PageControl1"));
    buildGeneral();
    buildVideo();
    buildAudio();
    buildControls();

    connect(model_, &SettingsModel::controlChanged, this, &SettingsPanel::showControl);
    connect(model_, &SettingsModel::controlChanged, this, &SettingsPanel::showMarks);
    connect(model_, &SettingsModel::enabledChanged, this, &SettingsPanel::showEnabled);
    for (int i = 0; i < CtlCount; ++i) {
        const auto ctl = static_cast<Ctl>(i);
        QWidget* widget = widgetFor(ctl);
        if (!widget || ctl == Ctl::ComboBox4)
            continue; // the port selector picks a port; it holds no setting
        widget->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(widget, &QWidget::customContextMenuRequested, this,
                [this, ctl, widget](const QPoint& at) {
                    QMenu* menu = contextMenuFor(ctl);
                    menu->exec(widget->mapToGlobal(at));
                    delete menu;
                });
    }
    showModel();
}

QWidget* SettingsPanel::addPage(const char* objectName, const char* title) {
    auto* page = new QWidget;
    page->setObjectName(QString::fromLatin1(objectName));
    // The empty-list notice lies under the tabs: a page paints its whole background, as not
    // every style does for tab pages (the Windows style leaves them unpainted).
    page->setAutoFillBackground(true);
    addTab(page, QString::fromLatin1(title));
    return page;
}

void SettingsPanel::bindCheckBox(Ctl ctl, QWidget* parent, const QString& caption,
                                 const QRect& geometry) {
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(ctlName(ctl));
    box->setGeometry(geometry);
    widgets_[slot(ctl)] = box;
    connect(box, &QCheckBox::toggled, this, [this, ctl](bool on) {
        model_->setChecked(ctl, on);
        showControl(ctl);
    });
}

void SettingsPanel::bindComboBox(Ctl ctl, QWidget* parent, const QRect& geometry) {
    auto* list = new QComboBox(parent);
    list->setObjectName(ctlName(ctl));
    list->setEditable(false);
    list->addItems(model_->items(ctl));
    list->setGeometry(geometry);
    list->setMaxVisibleItems(16);
    widgets_[slot(ctl)] = list;
    // A selection made on the widget by other code (the language file resets some lists to
    // their first item) is a program selection: the model follows without any reaction. The
    // user's choices come through activated, after this, and run the list's reactions.
    connect(list, &QComboBox::currentIndexChanged, this, [this, ctl](int index) {
        model_->setIndex(ctl, index);
        showControl(ctl);
    });
    connect(list, &QComboBox::activated, this, [this, ctl](int index) {
        model_->userSelect(ctl, index);
        showControl(ctl);
    });
}

void SettingsPanel::bindTrackBar(Ctl ctl, const char* valueBoxName, QWidget* parent,
                                 const QRect& bar, const QRect& valueBox) {
    auto* slider = new TrackBar(parent);
    slider->setObjectName(ctlName(ctl));
    slider->setRange(model_->minimum(ctl), model_->maximum(ctl));
    slider->setPageStep(qMax(1, (slider->maximum() - slider->minimum()) / 10));
    slider->setGeometry(bar);
    widgets_[slot(ctl)] = slider;

    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QString::fromLatin1(valueBoxName));
    edit->setReadOnly(true);
    edit->setAlignment(Qt::AlignCenter);
    edit->setGeometry(valueBox);
    valueBoxes_[slot(ctl)] = edit;

    connect(slider, &QSlider::valueChanged, this, [this, ctl](int position) {
        model_->setPosition(ctl, position);
        showControl(ctl);
    });
}

void SettingsPanel::bindPathEdit(Ctl ctl, QWidget* panel, const QString& caption,
                                 const char* buttonName, int x, int y) {
    auto* edit = new controls::LabeledEdit(panel);
    edit->setObjectName(ctlName(ctl));
    edit->setGeometry(x, y, 206, kRowH);
    edit->setCaption(caption);
    widgets_[slot(ctl)] = edit;

    auto* button = new controls::TXiButton(panel);
    button->setObjectName(QString::fromLatin1(buttonName));
    button->setCaption(QStringLiteral("Path"));
    button->setGeometry(x + 210, y, 52, kRowH);
    button->setFocusPolicy(Qt::StrongFocus);
    connect(button, &controls::TXiButton::clicked, this, [this, ctl] { choosePath(ctl); });
}

void SettingsPanel::buildGeneral() {
    QWidget* page = addPage("TabSheet1", "General");

    controls::TXiPanel* bios =
        makePanel(page, "Xpanel1", "Label20", QStringLiteral("BIOS settings"), 4, 152);
    bindPathEdit(Ctl::LabeledEdit1, bios, QStringLiteral("Japanese BIOS"), "XiButton6", 8, 40);
    bindPathEdit(Ctl::LabeledEdit2, bios, QStringLiteral("USA / Europe BIOS"), "XiButton5", 8, 82);
    makeRowLabel(bios, "Label1", QStringLiteral("BIOS language"), 8, 108);
    bindComboBox(Ctl::ComboBox3, bios, QRect(100, 108, 120, kRowH));
    bindCheckBox(Ctl::CheckBox2, bios, QStringLiteral("BIOS sanity checks"),
                 QRect(8, 132, 200, kCheckH));

    controls::TXiPanel* region =
        makePanel(page, "Xpanel2", "Label18", QStringLiteral("Region"), 160, 50);
    bindCheckBox(Ctl::CheckBox4, region, QStringLiteral("Auto"), QRect(8, 24, 60, kCheckH));
    bindComboBox(Ctl::ComboBox2, region, QRect(100, 22, 170, kRowH));

    controls::TXiPanel* memory =
        makePanel(page, "Xpanel3", "Label19", QStringLiteral("Memory / Cartridge"), 214, 134);
    bindComboBox(Ctl::ComboBox1, memory, QRect(8, 22, 262, kRowH));
    bindPathEdit(Ctl::LabeledEdit3, memory, QStringLiteral("KoF 95 ROM "), "XiButton3", 8, 66);
    bindPathEdit(Ctl::LabeledEdit4, memory, QStringLiteral("Ultraman ROM "), "XiButton4", 8, 106);

    controls::TXiPanel* cd =
        makePanel(page, "Xpanel4", "Label8", QStringLiteral("CD image"), 352, 46);
    bindCheckBox(Ctl::CheckBox6, cd, QStringLiteral("CD image sanity checks"),
                 QRect(8, 22, 200, kCheckH));

    const QString firmwareFolder = QDir::toNativeSeparators(QStringLiteral("Core/firmware"));
    widgetFor(Ctl::LabeledEdit1)
        ->setToolTip(QStringLiteral("Put the BIOS file into the %1 folder, or pick it anywhere "
                                    "with the \"Path\" button.")
                         .arg(firmwareFolder));
    widgetFor(Ctl::LabeledEdit2)->setToolTip(widgetFor(Ctl::LabeledEdit1)->toolTip());
    widgetFor(Ctl::ComboBox3)->setToolTip(QStringLiteral("Set the default BIOS language."));
    widgetFor(Ctl::CheckBox2)->setToolTip(QStringLiteral("Enable BIOS ROM image sanity checks."));
    widgetFor(Ctl::CheckBox4)->setToolTip(QStringLiteral("Uncheck if autodetection failed."));
    widgetFor(Ctl::LabeledEdit3)
        ->setToolTip(QStringLiteral("Put the cartridge ROM file into the %1 folder, or pick it "
                                    "anywhere with the \"Path\" button.")
                         .arg(firmwareFolder));
    widgetFor(Ctl::LabeledEdit4)->setToolTip(widgetFor(Ctl::LabeledEdit3)->toolTip());
    widgetFor(Ctl::CheckBox6)->setToolTip(QStringLiteral("Enable CD (image) sanity checks."));

    groups_[static_cast<size_t>(EnableGroup::Region)] = {widgetFor(Ctl::ComboBox2)};

    chainTabOrder({widgetFor(Ctl::LabeledEdit1), bios->findChild<QWidget*>("XiButton6"),
                   widgetFor(Ctl::LabeledEdit2), bios->findChild<QWidget*>("XiButton5"),
                   widgetFor(Ctl::ComboBox3), widgetFor(Ctl::CheckBox2), widgetFor(Ctl::CheckBox4),
                   widgetFor(Ctl::ComboBox2), widgetFor(Ctl::ComboBox1),
                   widgetFor(Ctl::LabeledEdit3), memory->findChild<QWidget*>("XiButton3"),
                   widgetFor(Ctl::LabeledEdit4), memory->findChild<QWidget*>("XiButton4"),
                   widgetFor(Ctl::CheckBox6)});
}

void SettingsPanel::buildVideo() {
    QWidget* page = addPage("TabSheet2", "Video");

    controls::TXiPanel* size =
        makePanel(page, "Xpanel5", "Label28", QStringLiteral("Image size"), 4, 100);
    makeRowLabel(size, "Label6", QStringLiteral("Stretch to fill screen:"), 8, 24);
    bindComboBox(Ctl::ComboBox6, size, QRect(123, 24, 152, kRowH));
    makeRowLabel(size, "Label5", QStringLiteral("Scaling factor:"), 8, 50);
    bindTrackBar(Ctl::TrackBar5, "Edit1", size, QRect(119, 50, 105, kRowH),
                 QRect(228, 50, 42, kRowH));
    bindCheckBox(Ctl::CheckBox1, size, QStringLiteral("Fullscreen mode"),
                 QRect(6, 77, 116, kCheckH));
    bindCheckBox(Ctl::CheckBox12, size, QStringLiteral("Keep pixel aspect ratio"),
                 QRect(123, 77, 153, kCheckH));

    auto* inner = new QTabWidget(page);
    inner->setObjectName(QStringLiteral("PageControl2"));
    inner->setGeometry(kPanelX, 108, kPanelW, 302);

    // Image enhancement
    auto* enhancement = new QWidget;
    enhancement->setObjectName(QStringLiteral("TabSheet5"));
    inner->addTab(enhancement, QStringLiteral("Image enhancement"));
    controls::TXiPanel* x6 =
        controls::makeSkinPanel(enhancement, QStringLiteral("Xpanel6"), QRect(2, 2, 268, 272));
    makeRowLabel(x6, "Label7", QStringLiteral("Special video scaler:"), 8, 8);
    bindComboBox(Ctl::ComboBox8, x6, QRect(128, 8, 132, kRowH));
    makeRowLabel(x6, "Label9", QStringLiteral("OpenGL shader:"), 8, 34);
    bindComboBox(Ctl::ComboBox9, x6, QRect(128, 34, 132, kRowH));
    makeRowLabel(x6, "Label16", QStringLiteral("Deinterlacer mode:"), 8, 60);
    bindComboBox(Ctl::ComboBox13, x6, QRect(128, 60, 132, kRowH));

    QGroupBox* crt = makeGroupBox(x6, "GroupBox6",
                                  QStringLiteral("TV CRT shaders (for \"goat\" OGL shader only)"),
                                  QRect(5, 88, 258, 178));
    bindCheckBox(Ctl::CheckBox3, crt, QStringLiteral("Progressive scan"),
                 QRect(8, 22, 120, kCheckH));
    bindCheckBox(Ctl::CheckBox5, crt, QStringLiteral("Scanlines effect"),
                 QRect(132, 22, 120, kCheckH));
    QLabel* mask = makeRowLabel(crt, "Label3", QStringLiteral("Mask pattern:"), 8, 46);
    bindComboBox(Ctl::ComboBox5, crt, QRect(122, 46, 126, kRowH));
    QLabel* divergence = makeLabel(
        crt, "Label27", QStringLiteral("RGB divergence (horizontal and vertical):"), 8, 74);
    bindTrackBar(Ctl::TrackBar6, "Edit6", crt, QRect(4, 90, 196, kRowH), QRect(204, 90, 44, kRowH));
    bindTrackBar(Ctl::TrackBar8, "Edit8", crt, QRect(4, 116, 196, kRowH),
                 QRect(204, 116, 44, kRowH));
    QLabel* transparency =
        makeRowLabel(crt, "Label29", QStringLiteral("Transparency mask:"), 8, 146);
    bindTrackBar(Ctl::TrackBar9, "Edit9", crt, QRect(122, 146, 78, kRowH),
                 QRect(204, 146, 44, kRowH));

    // Filters
    auto* filters = new QWidget;
    filters->setObjectName(QStringLiteral("TabSheet6"));
    inner->addTab(filters, QStringLiteral("Filters"));
    controls::TXiPanel* x7 =
        controls::makeSkinPanel(filters, QStringLiteral("Xpanel7"), QRect(2, 2, 268, 272));
    makeRowLabel(x7, "Label4", QStringLiteral("Interpolation:"), 8, 8);
    bindComboBox(Ctl::ComboBox7, x7, QRect(100, 8, 160, kRowH));
    bindCheckBox(Ctl::CheckBox9, x7, QStringLiteral("Accumulate color data"),
                 QRect(8, 40, 250, kCheckH));
    bindCheckBox(Ctl::CheckBox8, x7, QStringLiteral("Enable temporal blur"),
                 QRect(8, 62, 250, kCheckH));
    bindTrackBar(Ctl::TrackBar3, "Edit3", x7, QRect(24, 84, 180, kRowH), QRect(210, 84, 50, kRowH));
    bindCheckBox(Ctl::CheckBox10, x7, QStringLiteral("Enable scanlines (specified opacity)"),
                 QRect(8, 118, 250, kCheckH));
    bindTrackBar(Ctl::TrackBar4, "Edit5", x7, QRect(24, 140, 180, kRowH),
                 QRect(210, 140, 50, kRowH));
    bindCheckBox(Ctl::CheckBox13, x7, QStringLiteral("Horizontal blend"),
                 QRect(8, 174, 250, kCheckH));

    widgetFor(Ctl::ComboBox6)
        ->setToolTip(QStringLiteral("Methods for scaling the image in full screen mode."));
    widgetFor(Ctl::CheckBox12)
        ->setToolTip(QStringLiteral("Keep the console's own pixel aspect ratio instead of "
                                    "square pixels."));
    widgetFor(Ctl::TrackBar5)
        ->setToolTip(QStringLiteral("Scaling factor of the image; it applies to windowed mode "
                                    "only."));
    widgetFor(Ctl::ComboBox8)
        ->setToolTip(QStringLiteral("Pixel-art scalers applied before the image is shown: the "
                                    "hq, scale and 2xSaI families smooth edges, the nn ones "
                                    "only enlarge. Bigger factors need more CPU time."));
    widgetFor(Ctl::ComboBox9)
        ->setToolTip(QStringLiteral("OpenGL shader applied when the image is drawn (OpenGL video "
                                    "driver only). \"goat\" imitates a TV CRT and uses the "
                                    "settings below."));
    widgetFor(Ctl::CheckBox3)
        ->setToolTip(QStringLiteral("Force interlaced video to be treated as progressive."));
    widgetFor(Ctl::CheckBox5)->setToolTip(QStringLiteral("Enable scanlines effect."));
    widgetFor(Ctl::TrackBar6)->setToolTip(QStringLiteral("Constant RGB horizontal divergence."));
    widgetFor(Ctl::TrackBar8)->setToolTip(QStringLiteral("Constant RGB vertical divergence."));
    widgetFor(Ctl::TrackBar9)
        ->setToolTip(QStringLiteral("Transparency of otherwise-opaque mask areas."));
    widgetFor(Ctl::ComboBox13)
        ->setToolTip(QStringLiteral("Deinterlacer to use for interlaced video."));
    widgetFor(Ctl::CheckBox13)
        ->setToolTip(QStringLiteral("Blends neighbouring pixels horizontally, which softens "
                                    "dithered transparency as a TV would."));
    widgetFor(Ctl::CheckBox9)
        ->setToolTip(QStringLiteral("Accumulate color data rather than discarding it."));
    widgetFor(Ctl::CheckBox8)
        ->setToolTip(QStringLiteral("Video temporal blur(50/50 previous/current frame by "
                                    "default)."));
    widgetFor(Ctl::TrackBar4)
        ->setToolTip(QStringLiteral("Scanline opacity in percent; 0 turns scanlines off. "
                                    "Negative values draw them on alternating lines from field "
                                    "to field in interlaced video."));
    widgetFor(Ctl::TrackBar3)
        ->setToolTip(QStringLiteral("Amount of blur, in percent, when color data is "
                                    "accumulated."));
    valueBoxFor(Ctl::TrackBar3)->setToolTip(QStringLiteral("Blur amount"));

    groups_[static_cast<size_t>(EnableGroup::BlurAmount)] = {widgetFor(Ctl::TrackBar3),
                                                             valueBoxFor(Ctl::TrackBar3)};
    groups_[static_cast<size_t>(EnableGroup::ScanlineOpacity)] = {widgetFor(Ctl::TrackBar4),
                                                                  valueBoxFor(Ctl::TrackBar4)};
    groups_[static_cast<size_t>(EnableGroup::GoatShader)] = {widgetFor(Ctl::CheckBox3),
                                                             widgetFor(Ctl::CheckBox5),
                                                             mask,
                                                             widgetFor(Ctl::ComboBox5),
                                                             divergence,
                                                             widgetFor(Ctl::TrackBar6),
                                                             valueBoxFor(Ctl::TrackBar6),
                                                             widgetFor(Ctl::TrackBar8),
                                                             valueBoxFor(Ctl::TrackBar8),
                                                             transparency,
                                                             widgetFor(Ctl::TrackBar9),
                                                             valueBoxFor(Ctl::TrackBar9)};

    chainTabOrder(
        {widgetFor(Ctl::ComboBox6),   widgetFor(Ctl::TrackBar5),   valueBoxFor(Ctl::TrackBar5),
         widgetFor(Ctl::CheckBox1),   widgetFor(Ctl::CheckBox12),  inner,
         widgetFor(Ctl::ComboBox8),   widgetFor(Ctl::ComboBox9),   widgetFor(Ctl::ComboBox13),
         widgetFor(Ctl::CheckBox3),   widgetFor(Ctl::CheckBox5),   widgetFor(Ctl::ComboBox5),
         widgetFor(Ctl::TrackBar6),   valueBoxFor(Ctl::TrackBar6), widgetFor(Ctl::TrackBar8),
         valueBoxFor(Ctl::TrackBar8), widgetFor(Ctl::TrackBar9),   valueBoxFor(Ctl::TrackBar9),
         widgetFor(Ctl::ComboBox7),   widgetFor(Ctl::CheckBox9),   widgetFor(Ctl::CheckBox8),
         widgetFor(Ctl::TrackBar3),   valueBoxFor(Ctl::TrackBar3), widgetFor(Ctl::CheckBox10),
         widgetFor(Ctl::TrackBar4),   valueBoxFor(Ctl::TrackBar4), widgetFor(Ctl::CheckBox13)});
}

void SettingsPanel::buildAudio() {
    QWidget* page = addPage("TabSheet3", "Audio");

    controls::TXiPanel* quality = makePanel(page, "Xpanel8", "Label22",
                                            QStringLiteral("SCSP output resampler quality"), 4, 52);
    bindTrackBar(Ctl::TrackBar1, "Edit4", quality, QRect(4, 24, 218, kRowH),
                 QRect(226, 24, 44, kRowH));

    controls::TXiPanel* sound =
        makePanel(page, "Xpanel9", "Label23", QStringLiteral("Sound settings"), 60, 154);
    bindCheckBox(Ctl::CheckBox11, sound, QStringLiteral("Enable sound output"),
                 QRect(8, 24, 200, kCheckH));
    makeRowLabel(sound, "Label11", QStringLiteral("Playback rate:"), 8, 48);
    bindComboBox(Ctl::ComboBox10, sound, QRect(118, 48, 152, kRowH));
    makeRowLabel(sound, "Label12", QStringLiteral("Output mode:"), 8, 74);
    bindComboBox(Ctl::ComboBox11, sound, QRect(118, 74, 152, kRowH));
    makeRowLabel(sound, "Label14", QStringLiteral("Sound driver:"), 8, 100);
    bindComboBox(Ctl::ComboBox12, sound, QRect(118, 100, 152, kRowH));
    makeRowLabel(sound, "Label13", QStringLiteral("Volume level:"), 8, 126);
    bindTrackBar(Ctl::TrackBar7, "Edit7", sound, QRect(114, 126, 108, kRowH),
                 QRect(226, 126, 44, kRowH));

    controls::TXiPanel* help =
        makePanel(page, "Xpanel10", "Label21", QStringLiteral("Help"), 218, 192);
    QGroupBox* about =
        makeGroupBox(help, "GroupBox4", QStringLiteral("About SCSP output resampler quality"),
                     QRect(6, 22, 266, 162));
    makeHelpText(
        about, "Label15",
        QStringLiteral("The sound chip plays at 44100 Hz; the resampler converts its output to "
                       "the playback rate of the sound card. 0 is the lowest quality and needs "
                       "the least processor time, 10 the cleanest sound and the most. The "
                       "default 4 suits most computers; lower it if the sound stutters on a "
                       "slow one. A playback rate of 44100 Hz needs no resampling."),
        QRect(8, 20, 250, 136));

    chainTabOrder({widgetFor(Ctl::TrackBar1), valueBoxFor(Ctl::TrackBar1),
                   widgetFor(Ctl::CheckBox11), widgetFor(Ctl::ComboBox10),
                   widgetFor(Ctl::ComboBox11), widgetFor(Ctl::ComboBox12),
                   widgetFor(Ctl::TrackBar7), valueBoxFor(Ctl::TrackBar7)});
}

void SettingsPanel::buildControls() {
    QWidget* page = addPage("TabSheet4", "Controls");

    controls::TXiPanel* mouse =
        makePanel(page, "Xpanel11", "Label25", QStringLiteral("Mouse sensitivity"), 4, 52);
    bindTrackBar(Ctl::TrackBar2, "Edit2", mouse, QRect(4, 24, 218, kRowH),
                 QRect(226, 24, 44, kRowH));

    controls::TXiPanel* devices =
        makePanel(page, "Xpanel12", "Label26", QStringLiteral("Input devices"), 60, 150);
    makeRowLabel(devices, "Label2", QStringLiteral("Virtual Port #:"), 8, 24);
    bindComboBox(Ctl::ComboBox4, devices, QRect(100, 24, 56, kRowH));
    makeRowLabel(devices, "Label31", QStringLiteral("Device type:"), 8, 50);
    bindComboBox(Ctl::ComboBox15, devices, QRect(100, 50, 170, kRowH));
    makeRowLabel(devices, "Label32", QStringLiteral("Switch mode:"), 8, 76);
    bindComboBox(Ctl::ComboBox16, devices, QRect(100, 76, 170, kRowH));
    // Under the device type, while no input drives the shown device on the shown port; the
    // rows below make room for it.
    auto* notice = new QLabel(devices);
    notice->setObjectName(QStringLiteral("NoKeysNotice"));
    notice->setWordWrap(true);
    notice->setTextFormat(Qt::RichText);
    notice->setGeometry(8, 50 + kRowH + 2, kPanelW - 16, 0);
    notice->hide();
    connect(notice, &QLabel::linkActivated, this, &SettingsPanel::mapControlsRequested);
    bindCheckBox(Ctl::CheckBox7, devices, QStringLiteral("Mid-frame synchronization"),
                 QRect(8, 102, 250, kCheckH));
    bindCheckBox(Ctl::CheckBox14, devices, QStringLiteral("Multitap №1"),
                 QRect(8, 124, 120, kCheckH));
    bindCheckBox(Ctl::CheckBox15, devices, QStringLiteral("Multitap №2"),
                 QRect(136, 124, 120, kCheckH));
    widgetFor(Ctl::CheckBox7)
        ->setToolTip(QStringLiteral("Can reduce input latency, but it will increase CPU "
                                    "requirements."));

    controls::TXiPanel* help =
        makePanel(page, "Xpanel13", "Label24", QStringLiteral("Help"), 214, 196);
    // The default mappings give 20 pixels to "Map controls..." below the redefine help; the
    // lists scroll, and the mapping window shows every default whole.
    QGroupBox* mappings = makeGroupBox(help, "GroupBox1", QStringLiteral("Default input mappings"),
                                       QRect(6, 22, 266, 90));
    QPlainTextEdit* pad = makeMemo(mappings, "Memo1", QString(), QRect(6, 18, 126, 66));
    QPlainTextEdit* keys = makeMemo(mappings, "Memo2", QString(), QRect(134, 18, 126, 66));
    showHelpLists();
    QGroupBox* redefine = makeGroupBox(help, "GroupBox2", QStringLiteral("Redefine controls"),
                                       QRect(6, 114, 266, 78));
    makeHelpText(redefine, "Label10",
                 QStringLiteral("In the game, press Alt+Shift and a port number (1 to 9), then "
                                "the key or pad button for each control the emulator names."),
                 QRect(8, 16, 250, 40));
    // Or here, for the port and device shown above, sized to its caption when the panel shows.
    auto* map = new controls::TXiButton(redefine);
    map->setObjectName(QStringLiteral("MapControlsButton"));
    map->setCaption(i18n::message(i18n::Extra::MapControls));
    map->setFocusPolicy(Qt::StrongFocus);
    connect(map, &controls::TXiButton::clicked, this, &SettingsPanel::mapControlsRequested);
    placeMapButton();

    chainTabOrder({widgetFor(Ctl::TrackBar2), valueBoxFor(Ctl::TrackBar2),
                   widgetFor(Ctl::ComboBox4), widgetFor(Ctl::ComboBox15),
                   widgetFor(Ctl::ComboBox16), widgetFor(Ctl::CheckBox7),
                   widgetFor(Ctl::CheckBox14), widgetFor(Ctl::CheckBox15), pad, keys, map});
}

void SettingsPanel::showEvent(QShowEvent* event) {
    QTabWidget::showEvent(event);
    fitTexts();
}

void SettingsPanel::changeEvent(QEvent* event) {
    QTabWidget::changeEvent(event);
    if (event->type() == QEvent::FontChange)
        fitTexts();
}

// At a fractional scale (1.25, 1.5, 1.75) the Fusion style's one-pixel lines of the pane's frame
// fall between device pixels and its left and bottom edges vanish. The three edges are drawn
// again as lines one logical pixel wide, which always cover a device pixel; at whole scales they
// land on the style's own pixels, so nothing is drawn then.
void SettingsPanel::paintEvent(QPaintEvent* event) {
    QTabWidget::paintEvent(event);
    const qreal ratio = devicePixelRatioF();
    if (ratio == std::floor(ratio) ||
        style()->name().compare(QLatin1String("fusion"), Qt::CaseInsensitive) != 0)
        return;
    QStyleOptionTabWidgetFrame option;
    initStyleOption(&option);
    const QRectF pane(style()->subElementRect(QStyle::SE_TabWidgetTabPane, &option, this));
    QPainter painter(this);
    QPen pen(palette().window().color().darker(140), 1.0);
    pen.setCapStyle(Qt::FlatCap);
    painter.setPen(pen);
    painter.drawLine(QPointF(pane.left() + 0.5, pane.top() + 1),
                     QPointF(pane.left() + 0.5, pane.bottom() - 1));
    painter.drawLine(QPointF(pane.left(), pane.bottom() - 1.5),
                     QPointF(pane.right(), pane.bottom() - 1.5));
    painter.drawLine(QPointF(pane.right() - 0.5, pane.top() + 1),
                     QPointF(pane.right() - 0.5, pane.bottom() - 1));
}

// Captions may be replaced after the panel is built (the language file) or drawn in another
// font: they get the room they need when the panel shows.
void SettingsPanel::fitTexts() {
    controls::fitCaptions(this);
    for (int i = 0; i < CtlCount; ++i)
        if (isComboBox(static_cast<Ctl>(i)))
            widenListForItems(static_cast<QComboBox*>(widgetFor(static_cast<Ctl>(i))));
    placeMapButton();
    showMarks(); // the dots stand in the corners of the fitted controls
}

// A closed list must show any of its items whole. When one does not fit, the list reaches left
// up to the end of its caption's text (the caption keeps just its text's width); its right edge
// stays.
void SettingsPanel::widenListForItems(QComboBox* list) {
    QStyleOptionComboBox option;
    option.initFrom(list);
    option.frame = list->hasFrame();
    const QRect field = list->style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                      QStyle::SC_ComboBoxEditField, list);
    const int room = field.width() - 2;
    int widest = 0;
    for (int i = 0; i < list->count(); ++i)
        widest = std::max(widest, list->fontMetrics().horizontalAdvance(list->itemText(i)));
    if (widest <= room)
        return;
    QLabel* caption = nullptr;
    for (QLabel* label : list->parentWidget()->findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
        const QRect g = label->geometry();
        if (g.right() < list->x() && g.top() <= list->geometry().bottom() &&
            list->y() <= g.bottom() && (!caption || g.x() > caption->x()))
            caption = label;
    }
    if (!caption)
        return;
    const int captionWidth = caption->sizeHint().width();
    const int left = std::max(caption->x() + captionWidth + 4, list->x() - (widest - room));
    if (left >= list->x())
        return;
    caption->resize(captionWidth, caption->height());
    list->setGeometry(left, list->y(), list->x() + list->width() - left, list->height());
}

// "Map controls..." stands in the bottom right corner of "Redefine controls".
void SettingsPanel::placeMapButton() {
    auto* map = findChild<controls::TXiButton*>(QStringLiteral("MapControlsButton"));
    if (!map)
        return;
    QWidget* box = map->parentWidget();
    const int width = map->fontMetrics().horizontalAdvance(map->caption()) + 16;
    map->setGeometry(box->width() - width - 8, box->height() - 21, width, 18);
    map->raise();
}

void SettingsPanel::showNoKeysNotice(bool show) {
    auto* notice = findChild<QLabel*>(QStringLiteral("NoKeysNotice"));
    if (show)
        notice->setText(
            QStringLiteral("<span style=\"color: #b00000;\">%1</span> <a href=\"map\">%2</a>")
                .arg(i18n::message(i18n::Extra::NoKeysMapped).toHtmlEscaped(),
                     i18n::message(i18n::Extra::MapControls).toHtmlEscaped()));
    const int height = show ? notice->heightForWidth(notice->width()) : 0;
    notice->resize(notice->width(), height);
    notice->setVisible(show);
    const int shift = show ? height + 2 : 0;
    const int delta = shift - noticeShift_;
    if (delta == 0)
        return;
    noticeShift_ = shift;
    // The device rows below the notice move down; the help panel below gives up the room at the
    // top of its default mappings, whose lists scroll.
    QWidget* devices = notice->parentWidget();
    for (QWidget* child : devices->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
        if (child != notice && child->y() > notice->y())
            child->move(child->x(), child->y() + delta);
    devices->resize(devices->width(), devices->height() + delta);
    auto* help = findChild<QWidget*>(QStringLiteral("Xpanel13"));
    help->setGeometry(help->x(), help->y() + delta, help->width(), help->height() - delta);
    for (const char* name : {"GroupBox1", "Memo1", "Memo2"}) {
        auto* widget = help->findChild<QWidget*>(QString::fromLatin1(name));
        widget->resize(widget->width(), widget->height() - delta);
    }
    auto* redefine = help->findChild<QWidget*>(QStringLiteral("GroupBox2"));
    redefine->move(redefine->x(), redefine->y() - delta);
    showMarks();
}

void SettingsPanel::showModel() {
    for (int i = 0; i < CtlCount; ++i)
        showControl(static_cast<Ctl>(i));
    for (EnableGroup group : {EnableGroup::Region, EnableGroup::BlurAmount,
                              EnableGroup::ScanlineOpacity, EnableGroup::GoatShader})
        showEnabled(group, model_->enabled(group));
}

void SettingsPanel::showControl(Ctl ctl) {
    QWidget* widget = widgetFor(ctl);
    if (!widget)
        return;
    const QSignalBlocker blocker(widget);
    if (isCheckBox(ctl)) {
        static_cast<QCheckBox*>(widget)->setChecked(model_->checked(ctl));
    } else if (isComboBox(ctl)) {
        auto* list = static_cast<QComboBox*>(widget);
        // The extra item stands after the designed ones; their texts (translated) stay as set.
        const int designed = static_cast<int>(controlInfo(ctl).items.size());
        const QString extra = model_->extraItem(ctl);
        if (extra.isEmpty()) {
            while (list->count() > designed)
                list->removeItem(list->count() - 1);
        } else if (list->count() == designed) {
            list->addItem(extra);
        } else {
            list->setItemText(designed, extra);
        }
        const int index = model_->index(ctl);
        list->setCurrentIndex(index >= 0 && index < list->count() ? index : -1);
    } else if (isTrackBar(ctl)) {
        auto* bar = static_cast<TrackBar*>(widget);
        bar->setValue(model_->position(ctl));
        bar->update();
        valueBoxFor(ctl)->setText(model_->valueBoxText(ctl));
    } else if (isPathEdit(ctl)) {
        auto* edit = static_cast<QLineEdit*>(widget);
        edit->setText(model_->text(ctl));
        edit->setCursorPosition(0);
    }
    // The device and mode lists show the current port's entries.
    if (ctl == Ctl::ComboBox4) {
        showMarks();
        showControl(Ctl::ComboBox15);
        showControl(Ctl::ComboBox16);
    }
}

void SettingsPanel::showEnabled(EnableGroup group, bool enabled) {
    for (QWidget* widget : groups_[static_cast<size_t>(group)])
        widget->setEnabled(enabled && !showsUnknownSetting(widget));
}

void SettingsPanel::showHelpLists() {
    using i18n::Extra;
    const auto lines = [](std::initializer_list<QString> list) {
        return QStringList(list).join(QLatin1Char('\n'));
    };
    if (auto* pad = findChild<QPlainTextEdit*>(QStringLiteral("Memo1")))
        pad->setPlainText(
            lines({i18n::message(Extra::HelpPad), i18n::message(Extra::HelpPadDpad),
                   QStringLiteral("Start: Enter"), QStringLiteral("A B C: num 1 2 3"),
                   QStringLiteral("X Y Z: num 4 5 6"), QStringLiteral("L, R: num 7, 9")}));
    if (auto* keys = findChild<QPlainTextEdit*>(QStringLiteral("Memo2")))
        keys->setPlainText(
            lines({i18n::message(Extra::HelpKeys), i18n::message(Extra::HelpSaveState),
                   i18n::message(Extra::HelpLoadState), i18n::message(Extra::HelpReset),
                   i18n::message(Extra::HelpPower), i18n::message(Extra::HelpFullScreen),
                   i18n::message(Extra::HelpQuit)}));
}

void SettingsPanel::choosePath(Ctl edit) {
    // The dialog opens where the chosen file is, else where the emulator looks for BIOS and
    // cartridge files: Core/firmware of the application folder (the current folder).
    const QFileInfo current(QDir::fromNativeSeparators(model_->text(edit)));
    const QString folder = current.isAbsolute() && current.dir().exists()
                               ? current.absolutePath()
                               : QDir::current().absoluteFilePath(QStringLiteral("Core/firmware"));
    const QString chosen = controls::dialogs().openFile(
        this, i18n::message(i18n::Extra::FilterRoms) + QStringLiteral(" (*.bin *.ic1)"), folder);
    if (chosen.isEmpty())
        return;
    // The path goes into a profile line: a name that line cannot carry is never taken.
    if (holdsUnstorableCharacter(chosen)) {
        controls::dialogs().error(this, i18n::message(i18n::Extra::UnsafePath) + QLatin1Char('\n') +
                                            QDir::toNativeSeparators(chosen));
        return;
    }
    model_->setText(edit, QDir::toNativeSeparators(QFileInfo(chosen).absoluteFilePath()));
    showControl(edit);
}

} // namespace settings
