#pragma once

#include <QCursor>
#include <QHash>
#include <QPointer>
#include <QWidget>

#include <optional>

// Shows the window's pointer value over the whole window, its controls
// included: a control's own pointer (a text box's I-beam) must not show
// through while a value other than the default is set.
class PointerShapes {
public:
    explicit PointerShapes(QWidget* window) : window_(window) {}

    void show(int value);

    // The picture shown for the custom pointer; without one it is the arrow.
    void setCustomCursor(std::optional<QCursor> cursor);

private:
    QCursor cursorFor(int value) const;
    void overrideAll(const QCursor& cursor);
    void restoreAll();

    QWidget* window_;
    int value_ = 0;
    std::optional<QCursor> custom_;
    // Each widget's own pointer from before the override; nullopt where the
    // widget had none and took its parent's.
    struct Saved {
        QPointer<QWidget> widget;
        std::optional<QCursor> own;
    };
    QHash<QWidget*, Saved> saved_;
};
