#include "RangeSelection.h"

#include "Properties.h"
#include "Strings.h"
#include "UnoErrors.h"

#include <com/sun/star/sheet/XRangeSelection.hpp>
#include <com/sun/star/sheet/XRangeSelectionListener.hpp>
#include <com/sun/star/util/XCloseBroadcaster.hpp>
#include <com/sun/star/util/XCloseListener.hpp>
#include <cppuhelper/implbase2.hxx>
#include <rtl/ref.hxx>

#include <condition_variable>
#include <mutex>

namespace sheet::libreoffice {
namespace {

using css::uno::Reference;

// Callbacks arrive on the bridge's thread; the asking thread waits on them.
class RangeAnswer final
    : public cppu::WeakImplHelper2<css::sheet::XRangeSelectionListener, css::util::XCloseListener> {
public:
    void SAL_CALL done(const css::sheet::RangeSelectionEvent& event) override {
        finish(ToUtf8(event.RangeDescriptor));
    }
    void SAL_CALL aborted(const css::sheet::RangeSelectionEvent&) override { finish(std::nullopt); }
    void SAL_CALL queryClosing(const css::lang::EventObject&, sal_Bool) override {
        finish(std::nullopt);
    }
    void SAL_CALL notifyClosing(const css::lang::EventObject&) override { finish(std::nullopt); }
    void SAL_CALL disposing(const css::lang::EventObject&) override { finish(std::nullopt); }

    // True once answered; `answer` then holds the range, or none.
    bool waitFor(std::chrono::milliseconds time, std::optional<std::string>& answer) {
        std::unique_lock lock(mutex_);
        if (!changed_.wait_for(lock, time, [this] { return answered_; })) {
            return false;
        }
        answer = answer_;
        return true;
    }

private:
    void finish(std::optional<std::string> answer) {
        {
            const std::lock_guard lock(mutex_);
            if (answered_) {
                return;
            }
            answered_ = true;
            answer_ = std::move(answer);
        }
        changed_.notify_all();
    }

    std::mutex mutex_;
    std::condition_variable changed_;
    bool answered_ = false;
    std::optional<std::string> answer_;
};

} // namespace

std::optional<std::string> AskOfficeForRange(const Reference<css::frame::XController>& controller,
                                             const std::string& title,
                                             const std::string& initialValue,
                                             const std::function<void()>& whileWaiting,
                                             const std::function<bool()>& stillThere) {
    const rtl::Reference<RangeAnswer> answer(new RangeAnswer);
    const Reference<css::sheet::XRangeSelectionListener> asListener(answer.get());
    const Reference<css::util::XCloseListener> asCloseListener(answer.get());
    const Reference<css::sheet::XRangeSelection> selection = GuardUno("ask for a block", [&] {
        Reference<css::sheet::XRangeSelection> s(controller, css::uno::UNO_QUERY_THROW);
        s->addRangeSelectionListener(asListener);
        const Reference<css::util::XCloseBroadcaster> closing(controller->getModel(),
                                                              css::uno::UNO_QUERY);
        if (closing.is()) {
            closing->addCloseListener(asCloseListener);
        }
        const auto arguments =
            Properties({Property("Title", css::uno::Any(ToOUString(title))),
                        Property("InitialValue", css::uno::Any(ToOUString(initialValue))),
                        Property("CloseOnMouseRelease", css::uno::Any(false))});
        s->startRangeSelection(arguments);
        return s;
    });
    std::optional<std::string> result;
    while (!answer->waitFor(std::chrono::milliseconds(15), result)) {
        if (whileWaiting) {
            whileWaiting();
        }
        if (!stillThere()) {
            return std::nullopt;
        }
    }
    try {
        selection->removeRangeSelectionListener(asListener);
    } catch (const css::uno::Exception&) {
        // The document is already gone; nothing left to detach from.
    }
    return result;
}

} // namespace sheet::libreoffice
