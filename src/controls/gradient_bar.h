#pragma once

#include <QColor>
#include <QWidget>

namespace controls {

// A tool bar drawn with a vertical gradient from its start color to its end color; the title
// bars of the three windows and the minimize and close bars are such bars. Presses, moves and
// releases on the bar (and on its disabled children, which let them through) are reported with
// the cursor's screen position, so a borderless window can be dragged by it.
class GradientBar : public QWidget {
    Q_OBJECT

public:
    explicit GradientBar(QWidget* parent = nullptr);

    QColor gradientStartColor() const { return start_; }
    void setGradientStartColor(const QColor& color);
    QColor gradientEndColor() const { return end_; }
    void setGradientEndColor(const QColor& color);

    QImage renderImage() const;

signals:
    void pressed(QPoint globalPos);
    void moved(QPoint globalPos);
    void released(QPoint globalPos);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QColor start_{255, 255, 255};
    QColor end_{222, 224, 218};
};

} // namespace controls
