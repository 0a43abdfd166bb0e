#pragma once

#include <QObject>

#include <functional>

class QWidget;

// While it lives, the window takes no input from the user, yet keeps
// painting whenever keepPainting() is called: an action under way calls it
// now and then so the window neither freezes nor starts a second action
// under the first.
//
// Closing the window is the one request still heard: it is not carried out,
// and `onCloseAsked` is called (once) so that the action can be ended.
class InputPause : public QObject {
public:
    explicit InputPause(QWidget* window, std::function<void()> onCloseAsked = {});
    ~InputPause() override;
    InputPause(const InputPause&) = delete;
    InputPause& operator=(const InputPause&) = delete;

    void keepPainting();

    // Whether the user asked to close the window during the pause.
    bool closeAsked() const { return closeAsked_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* window_;
    std::function<void()> onCloseAsked_;
    bool closeAsked_ = false;
};
