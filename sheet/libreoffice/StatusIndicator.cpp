#include "StatusIndicator.h"

#include <cppuhelper/implbase1.hxx>

#include <atomic>

namespace sheet::libreoffice {
namespace {

class IndicatorToListener final : public cppu::WeakImplHelper1<css::task::XStatusIndicator> {
public:
    IndicatorToListener(Stage stage, ProgressListener listener)
        : stage_(stage), listener_(std::move(listener)) {}

    void SAL_CALL start(const rtl::OUString&, sal_Int32 range) override {
        range_ = range;
        tell(0);
    }
    void SAL_CALL end() override { tell(range_); }
    void SAL_CALL setText(const rtl::OUString&) override {}
    void SAL_CALL setValue(sal_Int32 value) override { tell(value); }
    void SAL_CALL reset() override { tell(0); }

private:
    void tell(sal_Int32 value) {
        if (listener_) {
            listener_({stage_, value, range_});
        }
    }

    const Stage stage_;
    const ProgressListener listener_;
    std::atomic<sal_Int32> range_ = 0;
};

} // namespace

css::uno::Reference<css::task::XStatusIndicator> ProgressIndicator(Stage stage,
                                                                   ProgressListener listener) {
    return new IndicatorToListener(stage, std::move(listener));
}

} // namespace sheet::libreoffice
