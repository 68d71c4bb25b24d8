#include "controls/text_fit.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QSlider>
#include <QStyle>
#include <QStyleOptionGroupBox>

#include <algorithm>
#include <optional>

namespace controls {

namespace {

constexpr int kGap = 4;         // between a caption and the control beside it
constexpr int kMinControl = 40; // the narrowest a list or track bar becomes

bool isOneLineLabel(const QWidget* w) {
    const auto* label = qobject_cast<const QLabel*>(w);
    return label && !label->wordWrap() && label->pixmap().isNull();
}

bool isWrappedLabel(const QWidget* w) {
    const auto* label = qobject_cast<const QLabel*>(w);
    return label && label->wordWrap();
}

bool isCheckBox(const QWidget* w) {
    return qobject_cast<const QCheckBox*>(w) != nullptr;
}

// Controls that may move aside and narrow for a caption.
bool isFlexible(const QWidget* w) {
    return qobject_cast<const QComboBox*>(w) || qobject_cast<const QSlider*>(w);
}

QList<QWidget*> shownSiblings(QWidget* w) {
    QList<QWidget*> out;
    for (QWidget* s : w->parentWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        if (s != w && !s->isHidden() && !s->isWindow())
            out.append(s);
    return out;
}

int innerRight(const QWidget* parent) {
    return parent->width() - 2;
}
int innerTop(const QWidget* parent) {
    return qobject_cast<const QGroupBox*>(parent) ? 14 : 1;
}
int innerBottom(const QWidget* parent) {
    return parent->height() - 2;
}

bool sameRow(const QRect& a, const QRect& b) {
    return a.top() <= b.bottom() && b.top() <= a.bottom();
}

// The nearest control to the right of w on its row.
QWidget* rightNeighbour(QWidget* w) {
    QWidget* best = nullptr;
    for (QWidget* s : shownSiblings(w)) {
        if (s->x() > w->x() && sameRow(s->geometry(), w->geometry()) &&
            (!best || s->x() < best->x()))
            best = s;
    }
    return best;
}

// The right edge a control may reach: the next control on its row or the container's edge.
int rightLimit(QWidget* w) {
    QWidget* next = rightNeighbour(w);
    return next ? next->x() - kGap : innerRight(w->parentWidget());
}

// Moves the neighbour's column `shift` pixels right: every shown control of its kind at its x in
// the container. Each uses the free room on its right first and narrows for the rest. Nothing
// moves unless every one of them keeps a usable width.
bool moveColumn(QWidget* neighbour, int shift) {
    if (!isFlexible(neighbour) && !isCheckBox(neighbour))
        return false;
    QList<QWidget*> column{neighbour};
    for (QWidget* s : shownSiblings(neighbour))
        if (s->x() == neighbour->x() && s->metaObject() == neighbour->metaObject())
            column.append(s);

    QList<QRect> placed;
    for (QWidget* m : column) {
        const int left = m->x() + shift;
        const int right =
            std::min(m->x() + m->width() + shift, std::max(rightLimit(m), m->x() + m->width()));
        const int width = right - left;
        const int least = isCheckBox(m) ? m->sizeHint().width() : kMinControl;
        if (width < least)
            return false;
        placed.append(QRect(left, m->y(), width, m->height()));
    }
    for (qsizetype i = 0; i < column.size(); ++i) {
        QWidget* m = column[i];
        if (auto* list = qobject_cast<QComboBox*>(m); list && list->view())
            list->view()->setMinimumWidth(std::max(list->view()->minimumWidth(), m->width()));
        m->setGeometry(placed[i]);
    }
    return true;
}

// Grows w by `more` pixels in height: the controls below it move down while the container has
// room, w moves up into the free room above it for the rest. Returns false when it cannot.
bool growDown(QWidget* w, int more) {
    if (more <= 0)
        return true;
    QWidget* parent = w->parentWidget();
    const QRect r = w->geometry();
    QList<QWidget*> below;
    int lowest = r.bottom();
    int aboveBottom = innerTop(parent) - 1;
    for (QWidget* s : shownSiblings(w)) {
        const QRect g = s->geometry();
        if (g.top() > r.bottom()) {
            below.append(s);
            lowest = std::max(lowest, g.bottom());
        } else if (g.bottom() < r.top()) {
            aboveBottom = std::max(aboveBottom, g.bottom());
        }
    }
    const int down = std::clamp(innerBottom(parent) - lowest, 0, more);
    const int up = more - down;
    if (up > r.top() - aboveBottom - 1)
        return false;
    for (QWidget* s : below)
        s->move(s->x(), s->y() + down);
    w->setGeometry(r.x(), r.y() - up, r.width(), r.height() + more);
    return true;
}

// The caption on two lines, split at the blank that makes the longer line shortest.
std::optional<QString> twoLines(const QCheckBox* box) {
    const QString text = box->text();
    const QFontMetrics metrics(box->font());
    std::optional<QString> best;
    int bestWidth = 0;
    for (qsizetype i = text.indexOf(u' '); i > 0; i = text.indexOf(u' ', i + 1)) {
        const int width = std::max(metrics.horizontalAdvance(text.left(i)),
                                   metrics.horizontalAdvance(text.mid(i + 1)));
        if (!best || width < bestWidth) {
            best = text.left(i) + u'\n' + text.mid(i + 1);
            bestWidth = width;
        }
    }
    return best;
}

void fitOneLine(QWidget* w) {
    const QSize hint = w->sizeHint();
    if (hint.width() <= w->width())
        return;
    const int height = std::max(w->height(), isOneLineLabel(w) ? hint.height() : 0);
    QWidget* next = rightNeighbour(w);
    if (w->x() + hint.width() <= rightLimit(w)) {
        w->resize(hint.width(), height);
        return;
    }
    if (next && moveColumn(next, w->x() + hint.width() + kGap - next->x())) {
        w->resize(hint.width(), height);
        return;
    }
    auto* box = qobject_cast<QCheckBox*>(w);
    const std::optional<QString> wrapped = box ? twoLines(box) : std::nullopt;
    if (box && wrapped) {
        const QString oneLine = box->text();
        box->setText(*wrapped);
        const QSize twoLineHint = box->sizeHint();
        // The box takes the height of its two lines; the indicator stays centred beside them.
        const int textHeight =
            QFontMetrics(box->font()).size(Qt::TextShowMnemonic, *wrapped).height();
        if (w->x() + twoLineHint.width() <= rightLimit(w) &&
            growDown(w, textHeight - w->height())) {
            w->resize(std::max(w->width(), twoLineHint.width()), w->height());
            return;
        }
        box->setText(oneLine);
    }
    // No way to make room: as wide as the place allows.
    w->resize(std::max(w->width(), rightLimit(w) - w->x()), height);
}

void fitWrapped(QLabel* label) {
    const int needed = label->heightForWidth(label->width());
    if (needed > label->height())
        growDown(label, needed - label->height());
}

QStyleOptionGroupBox groupOption(const QGroupBox* box, const QString& title) {
    QStyleOptionGroupBox option;
    option.initFrom(box);
    option.text = title;
    option.lineWidth = 1;
    option.midLineWidth = 0;
    option.textAlignment = box->alignment();
    option.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
    if (box->isCheckable())
        option.subControls |= QStyle::SC_GroupBoxCheckBox;
    option.features = box->isFlat() ? QStyleOptionFrame::Flat : QStyleOptionFrame::None;
    return option;
}

bool titleFits(const QGroupBox* box, const QString& title) {
    const QStyleOptionGroupBox option = groupOption(box, title);
    const QRect label =
        box->style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, box);
    return label.isEmpty() || label.right() < box->width() - label.left();
}

// The text of a group box title that fits its box, elided at the end when needed.
QString fittedGroupTitle(const QGroupBox* box, const QString& title) {
    if (titleFits(box, title))
        return title;
    for (qsizetype keep = title.size() - 1; keep > 0; --keep) {
        const QString elided = title.left(keep).trimmed() + QChar(0x2026);
        if (titleFits(box, elided))
            return elided;
    }
    return QString(QChar(0x2026));
}

void fitGroupTitle(QGroupBox* box) {
    const QString title = box->title();
    const QString fitted = fittedGroupTitle(box, title);
    if (fitted == title)
        return;
    box->setTitle(fitted);
    box->setToolTip(title);
}

} // namespace

bool captionFits(const QWidget* w) {
    if (isOneLineLabel(w) || isCheckBox(w)) {
        const QString text = isCheckBox(w) ? static_cast<const QCheckBox*>(w)->text()
                                           : static_cast<const QLabel*>(w)->text();
        const int textHeight = QFontMetrics(w->font()).size(Qt::TextShowMnemonic, text).height();
        return w->sizeHint().width() <= w->width() && textHeight <= w->height();
    }
    if (isWrappedLabel(w))
        return static_cast<const QLabel*>(w)->heightForWidth(w->width()) <= w->height();
    if (const auto* box = qobject_cast<const QGroupBox*>(w))
        return titleFits(box, box->title());
    return true;
}

void fitCaptions(QWidget* root) {
    if (!root)
        return;
    QList<QWidget*> all = root->findChildren<QWidget*>();
    all.prepend(root);
    for (QWidget* w : all) {
        if (w->isWindow() || !w->parentWidget() || w->window() != root->window())
            continue;
        if (auto* box = qobject_cast<QGroupBox*>(w))
            fitGroupTitle(box);
        else if (isOneLineLabel(w) || isCheckBox(w))
            fitOneLine(w);
        else if (isWrappedLabel(w))
            fitWrapped(static_cast<QLabel*>(w));
    }
}

} // namespace controls
