#include "app/StartupRoutines.h"

#include <QDateTime>
#include <QFileInfo>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

void CentreOnScreen(QWidget& window) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect area = screen->geometry();
    // Before the window is first shown its frame may not be known yet; the
    // frame geometry is then the client geometry.
    const QSize outer = window.frameGeometry().size();
    window.move(area.left() + (area.width() - outer.width()) / 2,
                area.top() + (area.height() - outer.height()) / 2);
}

bool FileExists(const QString& path) {
    return !path.isEmpty() && QFileInfo(path).lastModified().isValid();
}
