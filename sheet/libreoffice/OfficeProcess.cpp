// Starting a private office on a profile of its own, and ending it.
#include "OfficeProcess.h"

#include "OfficeCommand.h"
#include "ProfileTemplate.h"
#include "Spawn.h"
#include "sheet/SheetError.h"
#include "sheet/TemporaryRoot.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <unistd.h>

namespace sheet::libreoffice {

namespace fs = std::filesystem;

OfficeProcess::OfficeProcess(LibreOfficeOptions options) : options_(std::move(options)) {
    throwIfStopped();
    RemoveStaleProfiles();
    const std::string binary = options_.programDir + "/soffice.bin";
    if (::access(binary.c_str(), X_OK) != 0) {
        throw SheetError("LibreOffice was not found: there is no " + binary +
                         ". Install LibreOffice Calc (Debian package libreoffice-calc).");
    }
    // Before the private folder is made: the sweep spares a folder nobody
    // holds only for its first minute.
    const fs::path profileTemplate = ProfileTemplate(binary, options_.stop);
    profileDir_ = MakeUniqueFolder(TemporaryRoot(), kPrivateFolderPrefix);
    if (profileDir_.empty()) {
        throw SheetError("Could not create a temporary folder for the office's profile in " +
                         TemporaryRoot().string() + ": " + std::strerror(errno));
    }
    pipeName_ = "vantrelo-" + std::to_string(::getpid()) + "-" +
                fs::path(profileDir_).filename().string().substr(std::strlen(kPrivateFolderPrefix));
    try {
        FillProfile(profileDir_, profileTemplate);
        fs::create_directories(fs::path(profileDir_) / "tmp");
        auto arguments = OfficeArguments(binary, profileDir_);
        arguments.push_back("--accept=pipe,name=" + pipeName_ + ";urp;StarOffice.ComponentContext");
        if (options_.headless) {
            arguments.emplace_back("--headless");
        }
        guard_ = std::make_unique<OfficeGuard>(
            OfficeLeftovers{profileDir_, pipeName_}, arguments,
            OfficeEnvironment(OurEnvironment(), profileDir_, options_.headless), options_.stop);
    } catch (...) {
        std::error_code ec;
        fs::remove_all(profileDir_, ec);
        throw;
    }
}

OfficeProcess::~OfficeProcess() {
    end(std::chrono::seconds(10));
}

std::string OfficeProcess::connectUrl() const {
    return "uno:pipe,name=" + pipeName_ + ";urp;StarOffice.ComponentContext";
}

bool OfficeProcess::running() {
    return guard_ && !guard_->exitedWithin(std::chrono::milliseconds(0));
}

void OfficeProcess::end(std::chrono::milliseconds timeout) {
    if (guard_) {
        guard_->end(stopRequested() ? std::chrono::milliseconds(0) : timeout);
        guard_.reset();
    }
}

void OfficeProcess::handOver() {
    guard_->handOver();
    guard_.reset();
}

bool OfficeProcess::stopRequested() const {
    return options_.stop && options_.stop->pulled();
}

void OfficeProcess::throwIfStopped() const {
    if (stopRequested()) {
        throw Stopped();
    }
}

} // namespace sheet::libreoffice
