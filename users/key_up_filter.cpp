#include "users/key_up_filter.h"

#include <QKeyEvent>
#include <QWidget>

TKeyUpFilter::TKeyUpFilter(QObject* parent, Handler handler)
    : QObject(parent), handler_(std::move(handler)) {}

TKeyUpFilter* TKeyUpFilter::Install(QWidget* target, Handler handler) {
    auto* filter = new TKeyUpFilter(target, std::move(handler));
    target->installEventFilter(filter);
    return filter;
}

bool TKeyUpFilter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyRelease) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (!key->isAutoRepeat() && handler_)
            handler_(key->key(), key->modifiers());
    }
    return QObject::eventFilter(watched, event);
}
