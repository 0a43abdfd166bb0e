#pragma once

#include <QObject>

#include <chrono>
#include <functional>
#include <future>

class QWidget;

// While it lives, the window takes no input from the user, yet keeps
// painting whenever keepPainting() is called: a long action inside a handler
// calls it now and then so the window neither freezes nor starts a second
// action under the first.
//
// Closing the window is the one request still heard: the window stays open
// while the action runs, `onCloseAsked` is called so that the action can be
// ended at once, and the window closes once the pause is over.
class InputPause : public QObject {
public:
    explicit InputPause(QWidget* window, std::function<void()> onCloseAsked = {});
    ~InputPause() override;
    InputPause(const InputPause&) = delete;
    InputPause& operator=(const InputPause&) = delete;

    void keepPainting();

    // Whether the user asked to close the window during the pause.
    bool closeAsked() const { return closeAsked_; }

    // Runs `work` on a thread of its own and keeps the window painting, with
    // `onTick` called on this thread between paints, until the work is done.
    // Returns its result or throws what it threw. For work that blocks for
    // seconds, such as starting the office and loading a workbook.
    template <typename Work>
    auto run(Work work, const std::function<void()>& onTick = {}) -> decltype(work()) {
        auto future = std::async(std::launch::async, std::move(work));
        while (future.wait_for(std::chrono::milliseconds(15)) != std::future_status::ready) {
            if (onTick) {
                onTick();
            }
            keepPainting();
        }
        return future.get();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* window_;
    std::function<void()> onCloseAsked_;
    bool closeAsked_ = false;
};
