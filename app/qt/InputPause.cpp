#include "app/qt/InputPause.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

InputPause::InputPause(QWidget* window, std::function<void()> onCloseAsked)
    : window_(window), onCloseAsked_(std::move(onCloseAsked)) {
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
    case QEvent::Close:
        if (watched == window_ && event->type() == QEvent::Close) {
            // Ignored as well as swallowed: an accepted close event would
            // still hide the window while the action goes on unseen.
            event->ignore();
            if (!closeAsked_) {
                closeAsked_ = true;
                if (onCloseAsked_)
                    onCloseAsked_();
            }
            return true;
        }
        [[fallthrough]];
    case QEvent::Shortcut: {
        const auto* widget = qobject_cast<QWidget*>(watched);
        // Swallowed, not queued: a click during the action must not start
        // another one after it.
        return widget != nullptr && (widget == window_ || window_->isAncestorOf(widget));
    }
    default:
        return false;
    }
}
