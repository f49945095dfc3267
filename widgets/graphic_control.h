#pragma once

#include <QWidget>

// Base of the program's own window-less controls (the skinned button, the
// markup control): a widget that reports the pointer entering and leaving it.
class GGraphicControl : public QWidget {
    Q_OBJECT
public:
    explicit GGraphicControl(QWidget* parent = nullptr);

    // How often a repaint was asked for since construction; a setter given the
    // value it already has asks for none.
    int RepaintRequests() const { return repaintRequests_; }

signals:
    void OnMouseIn(QObject* sender);
    void OnMouseOut(QObject* sender);

protected:
    // Called after the widget's own enter and leave handling; they raise
    // OnMouseIn and OnMouseOut. Descendants may add to them.
    virtual void MouseIn();
    virtual void MouseOut();

    // Asks for a repaint and counts it.
    void Invalidate();

    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    int repaintRequests_ = 0;
};
