#pragma once

#include <QColor>
#include <QWidget>

class QPainter;

// How a gauge shows its value: a bar filling from the left, a pie filling
// clockwise from twelve o'clock, or a needle over a half-circle dial.
enum TGaugeKind { gkHorizontalBar, gkPie, gkNeedle };

// Everything a gauge paint depends on.
struct TGaugeFace {
    TGaugeKind Kind = gkHorizontalBar;
    int MinValue = 0;
    int MaxValue = 100;
    int Progress = 0;
    bool ShowText = true; // the percentage in the middle
    bool Border = true;
    QColor ForeColor{Qt::black};
    QColor BackColor{Qt::white};
};

// The filled share of the range, 0 to 1; 0 for an empty or inverted range.
double GaugeFraction(const TGaugeFace& face);

// Paints the gauge on an area of `size` at the painter's origin.
void PaintGauge(QPainter& painter, QSize size, const TGaugeFace& face);

// A progress indicator: the intro's loading bar and the test page's needle
// gauges for the time limits. Progress is clamped to the range.
class TGauge : public QWidget {
    Q_OBJECT
public:
    explicit TGauge(QWidget* parent = nullptr);

    const TGaugeFace& Face() const { return face_; }
    TGaugeKind Kind() const { return face_.Kind; }
    void SetKind(TGaugeKind kind);
    int MinValue() const { return face_.MinValue; }
    int MaxValue() const { return face_.MaxValue; }
    void SetRange(int minValue, int maxValue);
    int Progress() const { return face_.Progress; }
    void SetProgress(int value);
    void SetShowText(bool show);
    void SetBorder(bool border);
    void SetForeColor(const QColor& colour);
    void SetBackColor(const QColor& colour);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void ValueChanged();

    TGaugeFace face_;
};
