#include "controls/labeled_edit.h"

#include <QEvent>

namespace controls {

LabeledEdit::LabeledEdit(QWidget* parent) : QLineEdit(parent), label_(new QLabel(parent)) {
    setReadOnly(true);
    label_->setBuddy(this);
    label_->setAttribute(Qt::WA_TransparentForMouseEvents);
}

QString LabeledEdit::caption() const {
    return label_->text();
}

void LabeledEdit::setCaption(const QString& caption) {
    label_->setText(caption);
    label_->adjustSize();
    placeLabel();
}

void LabeledEdit::placeLabel() {
    label_->adjustSize();
    label_->move(x(), y() - label_->height() - 3);
}

void LabeledEdit::moveEvent(QMoveEvent* event) {
    QLineEdit::moveEvent(event);
    placeLabel();
}

void LabeledEdit::showEvent(QShowEvent* event) {
    QLineEdit::showEvent(event);
    label_->show();
    placeLabel();
}

void LabeledEdit::hideEvent(QHideEvent* event) {
    QLineEdit::hideEvent(event);
    label_->hide();
}

void LabeledEdit::changeEvent(QEvent* event) {
    QLineEdit::changeEvent(event);
    if (event->type() == QEvent::EnabledChange)
        label_->setEnabled(isEnabled());
}

} // namespace controls
