#include "app/qt/PointerShapes.h"

#include "app/WindowPointer.h"

void PointerShapes::show(int value) {
    value_ = value;
    if (value == WindowPointer::Hourglass || value == WindowPointer::Custom)
        overrideAll(cursorFor(value));
    else
        restoreAll();
}

void PointerShapes::setCustomCursor(std::optional<QCursor> cursor) {
    custom_ = std::move(cursor);
    if (value_ == WindowPointer::Custom)
        overrideAll(cursorFor(value_));
}

QCursor PointerShapes::cursorFor(int value) const {
    if (value == WindowPointer::Hourglass)
        return QCursor(Qt::WaitCursor);
    return custom_.value_or(QCursor(Qt::ArrowCursor));
}

void PointerShapes::overrideAll(const QCursor& cursor) {
    QList<QWidget*> widgets = window_->findChildren<QWidget*>();
    widgets.prepend(window_);
    for (QWidget* widget : widgets) {
        // Popups and dialogs owned by the window keep their own pointers.
        if (widget->window() != window_)
            continue;
        const auto found = saved_.constFind(widget);
        if (found == saved_.cend() || !found->widget) {
            saved_.insert(widget, {widget, widget->testAttribute(Qt::WA_SetCursor)
                                               ? std::optional<QCursor>(widget->cursor())
                                               : std::nullopt});
        }
        widget->setCursor(cursor);
    }
}

void PointerShapes::restoreAll() {
    for (const Saved& saved : std::as_const(saved_)) {
        if (!saved.widget)
            continue;
        if (saved.own)
            saved.widget->setCursor(*saved.own);
        else
            saved.widget->unsetCursor();
    }
    saved_.clear();
}
