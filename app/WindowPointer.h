#pragma once

#include <QCursor>
#include <QHash>
#include <QPointer>
#include <QWidget>

#include <optional>

// The window's one mouse-pointer property. Whatever it holds is shown over
// the whole window, its controls included, so a control's own pointer (a
// text box's I-beam) must not show through while a value other than the
// default is set.
class WindowPointer {
public:
    static constexpr int Default = 0;
    static constexpr int Hourglass = 11;
    static constexpr int Custom = 99;

    explicit WindowPointer(QWidget* window) : window_(window) {}

    int value() const { return value_; }
    void setValue(int value);

    // The picture shown for Custom; without one, Custom shows the arrow.
    void setCustomCursor(std::optional<QCursor> cursor);
    bool hasCustomCursor() const { return custom_.has_value(); }

    // Where the mouse moved, for the hover rule.
    enum class Area { Button, ColumnList, Background, Frame };
    void hoverOver(Area area);

private:
    QCursor cursorFor(int value) const;
    void overrideAll(const QCursor& cursor);
    void restoreAll();

    QWidget* window_;
    int value_ = Default;
    std::optional<QCursor> custom_;
    // Each widget's own pointer from before the override; nullopt where the
    // widget had none and took its parent's.
    struct Saved {
        QPointer<QWidget> widget;
        std::optional<QCursor> own;
    };
    QHash<QWidget*, Saved> saved_;
};
