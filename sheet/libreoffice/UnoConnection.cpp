#include "UnoConnection.h"

#include "MemoryLimit.h"
#include "OfficeCommand.h"
#include "Strings.h"
#include "UnoErrors.h"
#include "sheet/SheetError.h"

#include <com/sun/star/bridge/BridgeFactory.hpp>
#include <com/sun/star/bridge/UnoUrlResolver.hpp>
#include <com/sun/star/connection/NoConnectException.hpp>
#include <com/sun/star/lang/XComponent.hpp>
#include <cppuhelper/bootstrap.hxx>
#include <rtl/bootstrap.hxx>

#include <mutex>

namespace sheet::libreoffice {
namespace {

using css::uno::Reference;

// The local UNO runtime, made once per process from the office's own
// fundamentalrc so that the office's types are known. cppu::bootstrap() is
// not used: it attaches to, or starts, the user's own office.
Reference<css::uno::XComponentContext> LocalContext(const std::string& programDir) {
    static std::mutex mutex;
    static Reference<css::uno::XComponentContext> context;
    const std::lock_guard lock(mutex);
    if (!context.is()) {
        try {
            // The office's unorc reads its type and service lists through
            // URE_BOOTSTRAP, which must name the office's fundamentalrc.
            rtl::Bootstrap::set("URE_BOOTSTRAP", ToOUString("vnd.sun.star.pathname:" + programDir +
                                                            "/fundamentalrc"));
            context = cppu::defaultBootstrap_InitialComponentContext(
                ToOUString(FileUrl(programDir + "/unorc")));
        } catch (const css::uno::Exception&) {
            DebugDetail("load LibreOffice's runtime", CurrentOfficeFault());
            throw SheetError("LibreOffice in " + programDir +
                             " could not be loaded: it may be damaged or incomplete, and "
                             "reinstalling it may help.");
        }
    }
    return context;
}

} // namespace

Reference<css::uno::XComponentContext> ConnectToOffice(OfficeProcess& process) {
    const auto timeout = process.options().startTimeout;
    const auto resolver =
        css::bridge::UnoUrlResolver::create(LocalContext(process.options().programDir));
    const OUString url = ToOUString(process.connectUrl());
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (true) {
        // A pulled switch has killed the office: say so, not that it died.
        process.throwIfStopped();
        if (!process.running()) {
            throw SheetError("LibreOffice stopped while starting up." + MemoryLimitNote());
        }
        try {
            return Reference<css::uno::XComponentContext>(resolver->resolve(url),
                                                          css::uno::UNO_QUERY_THROW);
        } catch (const css::connection::NoConnectException&) {
            // Not listening yet.
        } catch (const css::uno::Exception&) {
            process.throwIfStopped();
            DebugDetail("reach LibreOffice", CurrentOfficeFault());
            throw SheetError("LibreOffice started, but could not be reached.");
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            throw SheetError("LibreOffice did not answer within " +
                             std::to_string(timeout.count() / 1000) + " seconds.");
        }
        if (PulledWithin(process.options().stop, std::chrono::milliseconds(50))) {
            throw Stopped();
        }
    }
}

// With no bridge left to close, nothing holds the office.
void DisconnectFromOffice(const OfficeProcess& process) {
    Quietly([&] {
        const auto bridges =
            css::bridge::BridgeFactory::create(LocalContext(process.options().programDir));
        // A bridge's description is its connection's: it names the pipe.
        const OUString pipe = ToOUString("name=" + process.pipeName());
        for (const auto& bridge : bridges->getExistingBridges()) {
            if (bridge.is() && bridge->getDescription().indexOf(pipe) >= 0) {
                Reference<css::lang::XComponent>(bridge, css::uno::UNO_QUERY_THROW)->dispose();
            }
        }
    });
}

} // namespace sheet::libreoffice
