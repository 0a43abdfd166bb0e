#pragma once

#include "OfficeProcess.h"

#include <com/sun/star/uno/XComponentContext.hpp>

namespace sheet::libreoffice {

namespace css = com::sun::star;

// Connects to a freshly started office over its pipe, waiting at most its
// start timeout; fails in words when the office exits or never answers.
css::uno::Reference<css::uno::XComponentContext> ConnectToOffice(OfficeProcess& process);

// Closes our connection to the office. An office still connected to us does
// not end when the user closes its last window, and does not end either when
// the connection goes later: so an office handed over to the user is let go
// of first. Every reference into it is dead afterwards.
void DisconnectFromOffice(const OfficeProcess& process);

} // namespace sheet::libreoffice
