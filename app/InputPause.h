#pragma once

#include <QObject>

class QWidget;

// While it lives, the window takes no input from the user, yet keeps
// painting whenever keepPainting() is called: a long action inside a handler
// calls it now and then so the window neither freezes nor starts a second
// action under the first.
class InputPause : public QObject {
public:
    explicit InputPause(QWidget* window);
    ~InputPause() override;
    InputPause(const InputPause&) = delete;
    InputPause& operator=(const InputPause&) = delete;

    void keepPainting();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* window_;
};
