#pragma once

#include <QObject>
#include <functional>

class QWidget;

// Calls a handler after every key released in a widget (auto-repeat
// excluded), the way the classic controls report KeyUp. The event goes on to
// the widget as usual.
class TKeyUpFilter : public QObject {
    Q_OBJECT
public:
    using Handler = std::function<void(int key, Qt::KeyboardModifiers modifiers)>;

    // The filter belongs to `target` and goes with it.
    static TKeyUpFilter* Install(QWidget* target, Handler handler);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TKeyUpFilter(QObject* parent, Handler handler);

    Handler handler_;
};
