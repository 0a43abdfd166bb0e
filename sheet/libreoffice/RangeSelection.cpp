#include "RangeSelection.h"

#include "Properties.h"
#include "Strings.h"
#include "UnoErrors.h"

#include <com/sun/star/awt/Key.hpp>
#include <com/sun/star/awt/PosSize.hpp>
#include <com/sun/star/awt/XExtendedToolkit.hpp>
#include <com/sun/star/awt/XKeyHandler.hpp>
#include <com/sun/star/awt/XWindowPeer.hpp>
#include <com/sun/star/sheet/XRangeSelection.hpp>
#include <com/sun/star/sheet/XRangeSelectionListener.hpp>
#include <com/sun/star/util/XCloseBroadcaster.hpp>
#include <com/sun/star/util/XCloseListener.hpp>
#include <cppuhelper/implbase3.hxx>
#include <rtl/ref.hxx>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <vector>

namespace sheet::libreoffice {
namespace {

using css::uno::Reference;

// Callbacks arrive on the bridge's thread; the asking thread waits on them.
//
// The range box answers Escape as it answers Enter: both call done() with the
// text in the box, so a cancel would take the block offered. The office's key
// handlers see every key first, so the Escape is noted here and the done()
// that it brings is read as a cancel.
class RangeAnswer final
    : public cppu::WeakImplHelper3<css::sheet::XRangeSelectionListener, css::util::XCloseListener,
                                   css::awt::XKeyHandler> {
public:
    void SAL_CALL done(const css::sheet::RangeSelectionEvent& event) override {
        finish(escaped_ ? std::nullopt : std::optional(ToUtf8(event.RangeDescriptor)));
    }
    void SAL_CALL aborted(const css::sheet::RangeSelectionEvent&) override { finish(std::nullopt); }
    void SAL_CALL queryClosing(const css::lang::EventObject&, sal_Bool) override {
        finish(std::nullopt);
    }
    void SAL_CALL notifyClosing(const css::lang::EventObject&) override { finish(std::nullopt); }
    void SAL_CALL disposing(const css::lang::EventObject&) override { finish(std::nullopt); }
    sal_Bool SAL_CALL keyPressed(const css::awt::KeyEvent& event) override {
        escaped_ = event.KeyCode == css::awt::Key::ESCAPE && event.Modifiers == 0;
        return false;
    }
    sal_Bool SAL_CALL keyReleased(const css::awt::KeyEvent&) override { return false; }

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

    std::atomic<bool> escaped_ = false;
    std::mutex mutex_;
    std::condition_variable changed_;
    bool answered_ = false;
    std::optional<std::string> answer_;
};

using TopWindows = std::vector<Reference<css::uno::XInterface>>;

// The toolkit's key handlers and its list of top windows are marked
// deprecated, yet they are the one way the office lets us see a key pressed
// in its range box, and reach the box itself.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
void WatchKeys(const Reference<css::awt::XExtendedToolkit>& toolkit,
               const Reference<css::awt::XKeyHandler>& handler, bool watch) {
    if (watch) {
        toolkit->addKeyHandler(handler);
    } else {
        toolkit->removeKeyHandler(handler);
    }
}

TopWindows TopWindowsOf(const Reference<css::awt::XExtendedToolkit>& toolkit) {
    TopWindows windows;
    for (sal_Int32 i = 0, count = toolkit->getTopWindowCount(); i < count; ++i)
        windows.emplace_back(toolkit->getTopWindow(i), css::uno::UNO_QUERY);
    return windows;
}
#pragma GCC diagnostic pop

// The office opens its range box over the middle of the document, often on
// the block's far cells, where the marking hand must go. A top window that
// was not there before the box was asked for is the box: it goes to the top
// right of the document's window, over the toolbars. False while it has not
// appeared yet.
bool MoveRangeBoxAside(const Reference<css::awt::XExtendedToolkit>& toolkit,
                       const TopWindows& before,
                       const Reference<css::frame::XController>& controller) {
    const Reference<css::awt::XWindow> document = controller->getFrame()->getContainerWindow();
    for (const auto& candidate : TopWindowsOf(toolkit)) {
        const Reference<css::awt::XWindow> window(candidate, css::uno::UNO_QUERY);
        if (!window.is() || window == document ||
            std::find(before.begin(), before.end(), candidate) != before.end())
            continue;
        const css::awt::Rectangle area = document->getPosSize();
        const css::awt::Rectangle box = window->getPosSize();
        window->setPosSize(area.X + area.Width - box.Width, area.Y, 0, 0, css::awt::PosSize::POS);
        return true;
    }
    return false;
}

} // namespace

std::optional<std::string> AskOfficeForRange(const Reference<css::frame::XController>& controller,
                                             const std::string& title,
                                             const std::string& initialValue,
                                             const std::function<void()>& whileWaiting,
                                             const std::function<bool()>& stillThere) {
    const rtl::Reference<RangeAnswer> answer(new RangeAnswer);
    Reference<css::awt::XExtendedToolkit> toolkit;
    TopWindows before;
    const Reference<css::sheet::XRangeSelection> selection = GuardUno("ask for a block", [&] {
        Reference<css::sheet::XRangeSelection> s(controller, css::uno::UNO_QUERY_THROW);
        s->addRangeSelectionListener(answer.get());
        const Reference<css::util::XCloseBroadcaster> closing(controller->getModel(),
                                                              css::uno::UNO_QUERY);
        if (closing.is()) {
            closing->addCloseListener(answer.get());
        }
        // The office's toolkit, through the document's window, where it has one.
        if (const Reference<css::awt::XWindowPeer> peer{
                controller->getFrame()->getContainerWindow(), css::uno::UNO_QUERY};
            peer.is()) {
            toolkit.set(peer->getToolkit(), css::uno::UNO_QUERY);
        }
        if (toolkit.is()) {
            WatchKeys(toolkit, answer.get(), true);
            before = TopWindowsOf(toolkit);
        }
        const auto arguments =
            Properties({Property("Title", css::uno::Any(ToOUString(title))),
                        Property("InitialValue", css::uno::Any(ToOUString(initialValue))),
                        Property("CloseOnMouseRelease", css::uno::Any(false))});
        s->startRangeSelection(arguments);
        return s;
    });
    std::optional<std::string> result;
    // The box is looked for a few seconds at most; where it is is a nicety.
    const auto lookUntil = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    bool placed = !toolkit.is();
    while (!answer->waitFor(std::chrono::milliseconds(15), result)) {
        if (!placed) {
            try {
                placed = MoveRangeBoxAside(toolkit, before, controller) ||
                         std::chrono::steady_clock::now() > lookUntil;
            } catch (const css::uno::Exception&) {
                placed = true;
            }
        }
        if (whileWaiting) {
            whileWaiting();
        }
        if (!stillThere()) {
            return std::nullopt;
        }
    }
    Quietly([&] {
        selection->removeRangeSelectionListener(answer.get());
        if (toolkit.is()) {
            WatchKeys(toolkit, answer.get(), false);
        }
    });
    return result;
}

} // namespace sheet::libreoffice
