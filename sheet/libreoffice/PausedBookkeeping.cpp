#include "PausedBookkeeping.h"

#include <com/sun/star/uno/Exception.hpp>

#include <utility>

namespace sheet::libreoffice {

PausedBookkeeping::PausedBookkeeping(const css::uno::Reference<css::beans::XPropertySet>& document)
    : undoEnabled_(document, "IsUndoEnabled", false),
      heightsAdjusted_(document, "IsAdjustHeightEnabled", false) {}

PausedBookkeeping::ScopedFlag::ScopedFlag(css::uno::Reference<css::beans::XPropertySet> document,
                                          const char* name, bool value)
    : document_(std::move(document)), name_(rtl::OUString::createFromAscii(name)) {
    document_->getPropertyValue(name_) >>= earlier_;
    document_->setPropertyValue(name_, css::uno::Any(value));
}

PausedBookkeeping::ScopedFlag::~ScopedFlag() {
    try {
        document_->setPropertyValue(name_, css::uno::Any(earlier_));
    } catch (const css::uno::Exception&) {
    }
}

} // namespace sheet::libreoffice
