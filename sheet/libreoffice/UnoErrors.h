#pragma once

#include "Strings.h"
#include "sheet/SheetError.h"

#include <com/sun/star/lang/DisposedException.hpp>
#include <com/sun/star/uno/Exception.hpp>
#include <com/sun/star/uno/RuntimeException.hpp>

#include <string>

namespace sheet::libreoffice {

// Runs `body`, turning the office's exceptions into a SheetError that says
// what we were doing. SheetErrors pass through unchanged.
template <typename Body> auto GuardUno(const char* doing, Body&& body) -> decltype(body()) {
    try {
        return body();
    } catch (const com::sun::star::lang::DisposedException&) {
        throw SheetError(std::string("LibreOffice closed or stopped while trying to ") + doing +
                         ".");
    } catch (const com::sun::star::uno::Exception& e) {
        std::string message = std::string("LibreOffice could not ") + doing;
        const std::string detail = ToUtf8(e.Message);
        throw SheetError(detail.empty() ? message + "." : message + ": " + detail);
    }
}

} // namespace sheet::libreoffice
