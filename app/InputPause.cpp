#include "app/InputPause.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

InputPause::InputPause(QWidget* window) : window_(window) {
    QCoreApplication::instance()->installEventFilter(this);
}

InputPause::~InputPause() {
    QCoreApplication::instance()->removeEventFilter(this);
}

void InputPause::keepPainting() {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

bool InputPause::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Wheel:
    case QEvent::Shortcut:
    case QEvent::Close: {
        const auto* widget = qobject_cast<QWidget*>(watched);
        // Swallowed, not queued: a click during the action must not start
        // another one after it.
        return widget != nullptr && (widget == window_ || window_->isAncestorOf(widget));
    }
    default:
        return false;
    }
}
