#include "app/qt/CentreOnScreen.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>

namespace {

// Puts the window's outer frame, as far as it is known now, in the middle of
// the primary screen. move() places the frame's top-left corner.
void centreFrame(QWidget& window) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->geometry();
    const QSize outer = window.frameGeometry().size();
    window.move(area.left() + (area.width() - outer.width()) / 2,
                area.top() + (area.height() - outer.height()) / 2);
}

// Until the window manager has framed the window its title bar is not
// known, and the first placing counts the client area alone: the frame then
// sits half a title bar low. This centres once more when the window is first
// exposed, framed by then, and goes away.
class CentreWhenFramed : public QObject {
public:
    explicit CentreWhenFramed(QWidget& window) : QObject(&window), window_(&window) {
        window.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        // The native window exists from the show event on; it is the one
        // that learns of its frame and gets exposed.
        if (watched == window_ && event->type() == QEvent::Show && window_->windowHandle()) {
            window_->removeEventFilter(this);
            window_->windowHandle()->installEventFilter(this);
        } else if (watched == window_->windowHandle() && event->type() == QEvent::Expose &&
                   window_->windowHandle()->isExposed()) {
            watched->removeEventFilter(this);
            centreFrame(*window_);
            deleteLater();
        }
        return false;
    }

private:
    QWidget* window_;
};

} // namespace

void CentreOnScreen(QWidget& window) {
    centreFrame(window);
    if (!window.isVisible())
        new CentreWhenFramed(window);
}
