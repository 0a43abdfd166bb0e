#pragma once

#include <com/sun/star/frame/XController.hpp>

#include <chrono>
#include <functional>
#include <optional>
#include <string>

namespace sheet::libreoffice {

namespace css = com::sun::star;

// Lets the user mark a range in the office's own range box on a shown
// document. Returns the range descriptor in the office's notation, or none
// when the user cancels or the document goes away. `stillThere` is asked
// between waits whether the office is still running.
std::optional<std::string>
AskOfficeForRange(const css::uno::Reference<css::frame::XController>& controller,
                  const std::string& title, const std::string& initialValue,
                  const std::function<void()>& whileWaiting,
                  const std::function<bool()>& stillThere);

} // namespace sheet::libreoffice
