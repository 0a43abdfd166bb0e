#include "LoadInteraction.h"

#include <com/sun/star/document/BrokenPackageRequest.hpp>
#include <com/sun/star/document/FilterOptionsRequest.hpp>
#include <com/sun/star/document/NoSuchFilterRequest.hpp>
#include <com/sun/star/document/XInteractionFilterOptions.hpp>
#include <com/sun/star/task/ErrorCodeRequest.hpp>
#include <com/sun/star/task/PasswordRequest.hpp>
#include <com/sun/star/task/XInteractionAbort.hpp>
#include <com/sun/star/task/XInteractionApprove.hpp>
#include <com/sun/star/task/XInteractionDisapprove.hpp>
#include <com/sun/star/task/XInteractionRequest.hpp>

namespace sheet::libreoffice {

using css::uno::Reference;
using css::uno::UNO_QUERY;

namespace {

// The office marks a notice that let the load go on (data cut short, a part
// it skipped) with the highest bit of its error code.
constexpr sal_uInt32 kWarningFlag = 0x80000000u;

std::string Describe(const css::uno::Any& request) {
    if (request.isExtractableTo(cppu::UnoType<css::document::BrokenPackageRequest>::get())) {
        return "is damaged: LibreOffice could open it only by repairing it, which may lose data.";
    }
    // Every kind of document password request derives from this one.
    if (request.isExtractableTo(cppu::UnoType<css::task::PasswordRequest>::get())) {
        return "is protected by a password. Remove the password in the spreadsheet application "
               "and try again.";
    }
    if (request.isExtractableTo(cppu::UnoType<css::document::NoSuchFilterRequest>::get())) {
        return "is not a spreadsheet that LibreOffice can read.";
    }
    css::task::ErrorCodeRequest error;
    if (request >>= error) {
        if ((static_cast<sal_uInt32>(error.ErrCode) & kWarningFlag) != 0) {
            return "is damaged or too large: LibreOffice could read only part of it.";
        }
        return "could not be read by LibreOffice: it is damaged or not a spreadsheet.";
    }
    return "could not be opened: LibreOffice asked a question that cannot be answered here.";
}

template <typename Choice>
bool Choose(const css::uno::Sequence<Reference<css::task::XInteractionContinuation>>& choices) {
    for (const auto& choice : choices) {
        if (const Reference<Choice> chosen{choice, UNO_QUERY}; chosen.is()) {
            chosen->select();
            return true;
        }
    }
    return false;
}

} // namespace

void LoadInteraction::handle(const Reference<css::task::XInteractionRequest>& request) {
    const auto choices = request->getContinuations();
    // The import options of a text file (csv): the office's own defaults,
    // as when nobody is asked.
    if (css::document::FilterOptionsRequest options; request->getRequest() >>= options) {
        for (const auto& choice : choices) {
            if (const Reference<css::document::XInteractionFilterOptions> filter{choice, UNO_QUERY};
                filter.is()) {
                filter->setFilterOptions(options.rProperties);
                filter->select();
                return;
            }
        }
    }
    {
        const std::lock_guard lock(mutex_);
        if (!problem_) {
            problem_ = Describe(request->getRequest());
        }
    }
    Choose<css::task::XInteractionAbort>(choices) ||
        Choose<css::task::XInteractionDisapprove>(choices) ||
        Choose<css::task::XInteractionApprove>(choices);
}

std::optional<std::string> LoadInteraction::problem() const {
    const std::lock_guard lock(mutex_);
    return problem_;
}

} // namespace sheet::libreoffice
