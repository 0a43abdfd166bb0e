#pragma once

#include <com/sun/star/task/XInteractionHandler.hpp>
#include <cppuhelper/implbase1.hxx>

#include <mutex>
#include <optional>
#include <string>

namespace sheet::libreoffice {

namespace css = com::sun::star;

// Stands in for the person at the office's dialogs while a workbook loads:
// nobody sees a hidden document's dialogs, so every question is answered
// "no" (or, for a notice that offers nothing else, "OK") and remembered. The
// load then fails, or finishes with what the office could read; either way
// the first thing asked says, in words, what went wrong.
class LoadInteraction final : public cppu::WeakImplHelper1<css::task::XInteractionHandler> {
public:
    // Called on the bridge's thread while the load runs.
    void SAL_CALL
    handle(const css::uno::Reference<css::task::XInteractionRequest>& request) override;

    // What the office asked first, as the reason the workbook cannot be used
    // ("is damaged: ...", "is protected by a password."), to follow the
    // quoted path; none when it asked nothing.
    std::optional<std::string> problem() const;

private:
    mutable std::mutex mutex_;
    std::optional<std::string> problem_;
};

} // namespace sheet::libreoffice
