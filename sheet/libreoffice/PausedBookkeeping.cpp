#include "PausedBookkeeping.h"

#include <com/sun/star/uno/Exception.hpp>

#include <utility>

namespace sheet::libreoffice {

namespace {

constexpr const char* undoEnabled = "IsUndoEnabled";
constexpr const char* heightsAdjusted = "IsAdjustHeightEnabled";

bool Flag(const css::uno::Reference<css::beans::XPropertySet>& document, const char* name) {
    bool value = true;
    document->getPropertyValue(rtl::OUString::createFromAscii(name)) >>= value;
    return value;
}

void SetFlag(const css::uno::Reference<css::beans::XPropertySet>& document, const char* name,
             bool value) {
    document->setPropertyValue(rtl::OUString::createFromAscii(name), css::uno::Any(value));
}

} // namespace

PausedBookkeeping::PausedBookkeeping(css::uno::Reference<css::beans::XPropertySet> document)
    : document_(std::move(document)), undoWasEnabled_(Flag(document_, undoEnabled)),
      heightsWereAdjusted_(Flag(document_, heightsAdjusted)) {
    SetFlag(document_, undoEnabled, false);
    try {
        SetFlag(document_, heightsAdjusted, false);
    } catch (...) {
        SetFlag(document_, undoEnabled, undoWasEnabled_);
        throw;
    }
}

PausedBookkeeping::~PausedBookkeeping() {
    // Each is put back on its own, so one failing leaves the other restored.
    try {
        SetFlag(document_, heightsAdjusted, heightsWereAdjusted_);
    } catch (const css::uno::Exception&) {
    }
    try {
        SetFlag(document_, undoEnabled, undoWasEnabled_);
    } catch (const css::uno::Exception&) {
    }
}

} // namespace sheet::libreoffice
