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
class InputPause : public QObject {
public:
    explicit InputPause(QWidget* window);
    ~InputPause() override;
    InputPause(const InputPause&) = delete;
    InputPause& operator=(const InputPause&) = delete;

    void keepPainting();

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
};
