#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QWidget>

namespace controls {

// A read-only edit with its caption label standing above it. The widget's own geometry is the
// edit's; the label is a sibling placed 16 pixels above the edit's top-left corner, as the
// original's labelled edits place theirs. The caption is the property "caption"; the hint is
// the edit's tool tip.
class LabeledEdit : public QLineEdit {
    Q_OBJECT
    Q_PROPERTY(QString caption READ caption WRITE setCaption)

public:
    explicit LabeledEdit(QWidget* parent = nullptr);

    QString caption() const;
    void setCaption(const QString& caption);
    QLabel* label() const { return label_; }

protected:
    void moveEvent(QMoveEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void placeLabel();
    QLabel* label_;
};

} // namespace controls
