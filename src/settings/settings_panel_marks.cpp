// The marks of the settings that differ from the global file, their tooltips and their
// "Use the global value" menu entries.
#include "settings/settings_panel.h"

#include "i18n/messages.h"
#include "settings/global_values.h"
#include "settings/settings_table.h"

#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QStyleOptionButton>

#include <algorithm>

namespace settings {

namespace {

// The mark of a setting that differs from the global file: a small dot in the control's
// top-right corner, over the control so that nothing moves; orange with a dark ring, which reads
// on every skin's panels and on the controls' own faces.
class GlobalDot : public QWidget {
public:
    static constexpr int Size = 8;
    explicit GlobalDot(QWidget* control) : QWidget(control) {
        setObjectName(QStringLiteral("GlobalDot"));
        setAttribute(Qt::WA_TransparentForMouseEvents);
        resize(Size, Size);
        hide();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(QColor(0x5a, 0x24, 0x00), 1));
        painter.setBrush(QColor(0xff, 0x8c, 0x00));
        painter.drawEllipse(QRectF(0.5, 0.5, Size - 1, Size - 1));
    }
};

// The property that keeps a control's tooltip from before any mark or note was added.
const char* const kBaseToolTip = "varnixBaseToolTip";

} // namespace

void SettingsPanel::setUnknownSettings(const std::vector<Ctl>& unknown) {
    std::array<bool, CtlCount> now{};
    for (const Ctl ctl : unknown)
        now[static_cast<size_t>(ctl)] = true;
    if (now == unknown_)
        return;
    unknown_ = now;
    for (int i = 0; i < CtlCount; ++i) {
        const auto ctl = static_cast<Ctl>(i);
        QWidget* widget = widgetFor(ctl);
        if (!widget)
            continue;
        if (isUnknown(ctl)) {
            widget->setEnabled(false);
            if (QLineEdit* box = valueBoxFor(ctl))
                box->setEnabled(false);
        } else if (!widget->isEnabled()) {
            // Back to the state its group gives it, or enabled.
            bool enabled = true;
            for (size_t g = 0; g < groups_.size(); ++g) {
                if (groups_[g].contains(widget))
                    enabled = model_->enabled(static_cast<EnableGroup>(g));
            }
            widget->setEnabled(enabled);
            if (QLineEdit* box = valueBoxFor(ctl))
                box->setEnabled(enabled);
        }
    }
    showMarks();
}

bool SettingsPanel::showsUnknownSetting(const QWidget* widget) const {
    for (int i = 0; i < CtlCount; ++i) {
        const auto ctl = static_cast<Ctl>(i);
        if (isUnknown(ctl) && (widgetFor(ctl) == widget || valueBoxFor(ctl) == widget))
            return true;
    }
    return false;
}

void SettingsPanel::setGlobalSettings(const SettingsModel* global) {
    global_ = global;
    showMarks();
}

QString SettingsPanel::globalText(Ctl ctl) const {
    if (!global_)
        return QString();
    if (isCheckBox(ctl))
        return i18n::message(global_->checked(ctl) ? i18n::Extra::GlobalOn
                                                   : i18n::Extra::GlobalOff);
    if (isTrackBar(ctl))
        return global_->valueBoxText(ctl);
    if (isPathEdit(ctl))
        return QDir::toNativeSeparators(global_->text(ctl));
    const auto* list = static_cast<const QComboBox*>(widgetFor(ctl));
    int index = global_->index(ctl);
    if (ctl == Ctl::ComboBox15)
        index = global_->portDevice(model_->currentPort());
    else if (ctl == Ctl::ComboBox16)
        index = global_->portPadMode(model_->currentPort());
    const int designed = static_cast<int>(controlInfo(ctl).items.size());
    if (index >= 0 && index < designed)
        return list->itemText(index); // as the list shows it, translated
    // The global file's own word: a value the list lacks.
    for (const QString& line : globalLinesFor(ctl, *model_, *global_))
        return line.mid(line.indexOf(QLatin1Char(' ')) + 1);
    return QString();
}

void SettingsPanel::showMarks() {
    std::vector<Ctl> marked;
    if (global_)
        marked = controlsDifferingFromGlobal(*model_, *global_);
    for (int i = 0; i < CtlCount; ++i) {
        const auto ctl = static_cast<Ctl>(i);
        QWidget* widget = widgetFor(ctl);
        if (!widget)
            continue;
        const bool on = std::find(marked.begin(), marked.end(), ctl) != marked.end();
        QWidget*& dot = dots_[static_cast<size_t>(ctl)];
        const bool unknown = isUnknown(ctl);
        if (!on && !dot && !unknown && !widget->property(kBaseToolTip).isValid())
            continue;
        // The tooltip the control had before any mark, kept once.
        if (!widget->property(kBaseToolTip).isValid())
            widget->setProperty(kBaseToolTip, widget->toolTip());
        QStringList tip;
        if (const QString base = widget->property(kBaseToolTip).toString(); !base.isEmpty())
            tip << base;
        if (unknown)
            tip << i18n::message(i18n::Extra::UnknownSetting);
        if (on) {
            tip << i18n::message(i18n::Extra::GlobalValue)
                       .replace(QStringLiteral("%1"), globalText(ctl));
            if (!dot)
                dot = new GlobalDot(widget);
            // In the control's top-right corner; a check box's on its square's corner, so the
            // caption stays clear.
            int x = widget->width() - GlobalDot::Size;
            int y = 0;
            if (isCheckBox(ctl)) {
                QStyleOptionButton option;
                option.initFrom(widget);
                const QRect square =
                    widget->style()->subElementRect(QStyle::SE_CheckBoxIndicator, &option, widget);
                x = std::clamp(square.right() - GlobalDot::Size / 2, 0, x);
                y = std::max(0, square.top() - GlobalDot::Size / 2);
            }
            dot->move(x, y);
            dot->raise();
        }
        widget->setToolTip(tip.join(QLatin1Char('\n')));
        if (dot)
            dot->setVisible(on);
    }
    marked_ = std::move(marked);
}

void SettingsPanel::useGlobalValue(Ctl ctl) {
    if (global_)
        model_->applySettings(globalLinesFor(ctl, *model_, *global_));
}

void SettingsPanel::resetToGlobal() {
    if (global_)
        model_->applySettings(global_->collectSettings());
}

QMenu* SettingsPanel::contextMenuFor(Ctl ctl) {
    auto* edit = qobject_cast<QLineEdit*>(widgetFor(ctl));
    QMenu* menu = edit ? edit->createStandardContextMenu() : new QMenu(this);
    if (edit)
        menu->addSeparator();
    QAction* use = menu->addAction(i18n::message(i18n::Extra::UseGlobalValue));
    use->setObjectName(QStringLiteral("UseGlobalValue"));
    use->setEnabled(std::find(marked_.begin(), marked_.end(), ctl) != marked_.end());
    connect(use, &QAction::triggered, this, [this, ctl] { useGlobalValue(ctl); });
    return menu;
}

} // namespace settings
