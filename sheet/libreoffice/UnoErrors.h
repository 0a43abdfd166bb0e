#pragma once

#include "Strings.h"
#include "sheet/SheetError.h"

#include <com/sun/star/lang/DisposedException.hpp>
#include <com/sun/star/task/ErrorCodeIOException.hpp>
#include <com/sun/star/ucb/IOErrorCode.hpp>
#include <com/sun/star/ucb/InteractiveIOException.hpp>
#include <com/sun/star/uno/Exception.hpp>
#include <com/sun/star/uno/RuntimeException.hpp>

#include <cstdlib>
#include <iostream>
#include <string>

namespace sheet::libreoffice {

// The cause an office error code names, in words; empty for a code that names
// none a user could act on. The code's class sits in bits 8 to 12.
inline std::string CauseOfErrorCode(sal_uInt32 code) {
    switch ((code >> 8) & 0x1F) {
    case 3: // NotExists
        return "a file or folder it needs does not exist";
    case 5: // Access
        return "permission was denied";
    case 7: // Locking
        return "the file is locked by another program";
    case 9: // Space
        return "the disk is full";
    case 11: // Read
        return "the file could not be read";
    case 12: // Write
        return "the file could not be written";
    case 14: // Version
    case 15: // Format
    case 17: // Import
        return "the file is damaged or not a spreadsheet";
    default:
        return {};
    }
}

inline std::string CauseOfIoErrorCode(com::sun::star::ucb::IOErrorCode code) {
    using namespace com::sun::star::ucb;
    switch (code) {
    case IOErrorCode_ACCESS_DENIED:
        return "permission was denied";
    case IOErrorCode_NOT_EXISTING:
    case IOErrorCode_NOT_EXISTING_PATH:
        return "a file or folder it needs does not exist";
    case IOErrorCode_OUT_OF_DISK_SPACE:
        return "the disk is full";
    case IOErrorCode_WRITE_PROTECTED:
        return "the disk or file is write-protected";
    case IOErrorCode_LOCKING_VIOLATION:
        return "the file is locked by another program";
    case IOErrorCode_WRONG_FORMAT:
    case IOErrorCode_WRONG_VERSION:
        return "the file is damaged or not a spreadsheet";
    default:
        return {};
    }
}

// What an office exception says, sorted out. Made inside a catch block by
// CurrentOfficeFault(): UNO exceptions carry no virtual functions, so their
// kinds can only be told apart by catching them.
struct OfficeFault {
    bool stopped = false; // the office went away mid-call
    std::string cause;    // in words; empty when the office named none we know
    std::string detail;   // the office's own text, with its internals

    // "LibreOffice could not save the copy: the disk is full."
    std::string inWords(const std::string& doing) const {
        if (stopped) {
            return "LibreOffice closed or stopped while trying to " + doing + ".";
        }
        return "LibreOffice could not " + doing + (cause.empty() ? "." : ": " + cause + ".");
    }
};

inline OfficeFault CurrentOfficeFault() {
    namespace css = com::sun::star;
    OfficeFault fault;
    try {
        throw;
    } catch (const css::lang::DisposedException& e) {
        fault.stopped = true;
        fault.detail = ToUtf8(e.Message);
    } catch (const css::task::ErrorCodeIOException& e) {
        fault.cause = CauseOfErrorCode(static_cast<sal_uInt32>(e.ErrCode));
        fault.detail = ToUtf8(e.Message);
    } catch (const css::ucb::InteractiveIOException& e) {
        fault.cause = CauseOfIoErrorCode(e.Code);
        fault.detail = ToUtf8(e.Message);
    } catch (const css::uno::RuntimeException& e) {
        // The bridge to a process that died says so only in its text.
        fault.detail = ToUtf8(e.Message);
        fault.stopped = fault.detail.find("URP bridge") != std::string::npos;
    } catch (const css::uno::Exception& e) {
        fault.detail = ToUtf8(e.Message);
    }
    return fault;
}

// The office's own texts name its internals ("SfxBaseModel::impl_store",
// URLs, hexadecimal codes), which tell a user nothing. They are shown only
// when VANTRELO_DEBUG is set, on standard error, for whoever chases a fault.
inline void DebugDetail(const std::string& doing, const OfficeFault& fault) {
    const char* debug = std::getenv("VANTRELO_DEBUG");
    if (debug != nullptr && *debug != '\0' && *debug != '0') {
        std::cerr << "vantrelo debug: while trying to " << doing << ": " << fault.detail << "\n"
                  << std::flush;
    }
}

// Runs `body`, turning the office's exceptions into a SheetError that says
// what we were doing. SheetErrors pass through unchanged.
template <typename Body> auto GuardUno(const char* doing, Body&& body) -> decltype(body()) {
    try {
        return body();
    } catch (const com::sun::star::uno::Exception&) {
        const OfficeFault fault = CurrentOfficeFault();
        DebugDetail(doing, fault);
        throw SheetError(fault.inWords(doing));
    }
}

// Runs `body` where an office error changes nothing: what it lets go of, or
// the office itself, is already gone.
template <typename Body> void Quietly(Body&& body) noexcept {
    try {
        body();
    } catch (const com::sun::star::uno::Exception&) {
    }
}

} // namespace sheet::libreoffice
