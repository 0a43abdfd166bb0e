#pragma once

#include "OfficeProcess.h"

#include <com/sun/star/frame/XDesktop2.hpp>
#include <com/sun/star/uno/XComponentContext.hpp>

#include <chrono>

namespace sheet::libreoffice {

namespace css = com::sun::star;

// Connects to a freshly started office over its pipe, waiting at most
// `timeout`; fails in words when the office exits or never answers.
css::uno::Reference<css::uno::XComponentContext> ConnectToOffice(OfficeProcess& process,
                                                                 const std::string& programDir,
                                                                 std::chrono::milliseconds timeout);

} // namespace sheet::libreoffice
