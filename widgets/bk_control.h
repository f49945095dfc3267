#pragma once

#include <QWidget>

class TBackground;

// A control that paints nothing but its background: the page backgrounds and
// the header strip. It repaints whenever anything of the background changes.
class TBkControl : public QWidget {
    Q_OBJECT
public:
    explicit TBkControl(QWidget* parent = nullptr);

    TBackground& Background() { return *background_; }
    const TBackground& Background() const { return *background_; }
    // Copies the settings of `background` into the owned one.
    void SetBackground(const TBackground& background);

    // Offset of the background picture, in pixels.
    int dX() const { return dX_; }
    void SetdX(int value);
    int dY() const { return dY_; }
    void SetdY(int value);

    // How often a repaint was asked for since construction.
    int RepaintRequests() const { return repaintRequests_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void Invalidate();

    TBackground* background_;
    int dX_ = 0;
    int dY_ = 0;
    bool painting_ = false;
    int repaintRequests_ = 0;
};
