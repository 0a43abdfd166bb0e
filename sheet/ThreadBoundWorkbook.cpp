#include "ThreadBoundWorkbook.h"

#include "SheetError.h"

#include <cstdio>
#include <exception>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <utility>

namespace sheet {
namespace {

class OwningThread {
public:
    explicit OwningThread(std::shared_ptr<StopSwitch> stop) : stop_(std::move(stop)) {}

    void check(const char* call) const {
        if (std::this_thread::get_id() != owner_) {
            throw SheetError(std::string("The workbook was used (") + call +
                             ") from a thread other than the one that opened it.");
        }
    }
    bool isCurrent() const { return std::this_thread::get_id() == owner_; }

    // Checks the thread and runs `body`, unless the run was stopped. A
    // backend whose application was killed on purpose says only that it
    // went away: that too is a stop.
    template <typename Body> auto call(const char* name, Body&& body) const -> decltype(body()) {
        check(name);
        if (stop_ && stop_->pulled()) {
            throw Stopped();
        }
        try {
            return body();
        } catch (const SheetError&) {
            if (stop_ && stop_->pulled()) {
                throw Stopped();
            }
            throw;
        }
    }

private:
    std::thread::id owner_ = std::this_thread::get_id();
    std::shared_ptr<StopSwitch> stop_;
};

class ThreadBoundCells final : public dupes::BlockAccess {
public:
    ThreadBoundCells(dupes::BlockAccess& inner, const OwningThread& owner)
        : inner_(inner), owner_(owner) {}

    std::string cellText(std::int32_t row, std::int32_t column) override {
        return owner_.call("cellText", [&] { return inner_.cellText(row, column); });
    }
    void readTexts(std::int32_t firstRow, std::int32_t rowCount,
                   const std::vector<std::int32_t>& columns, dupes::TextTable& out) override {
        owner_.call("readTexts", [&] { inner_.readTexts(firstRow, rowCount, columns, out); });
    }
    void colourSpans(const std::vector<dupes::CellSpan>& spans, std::uint32_t colour) override {
        owner_.call("colourSpans", [&] { inner_.colourSpans(spans, colour); });
    }

private:
    dupes::BlockAccess& inner_;
    const OwningThread& owner_;
};

class ThreadBoundWorkbook final : public Workbook {
public:
    ThreadBoundWorkbook(std::unique_ptr<Workbook> inner, std::shared_ptr<StopSwitch> stop)
        : owner_(std::move(stop)), inner_(std::move(inner)) {}

    ~ThreadBoundWorkbook() override {
        if (!owner_.isCurrent()) {
            std::fputs("vantrelo: a workbook was closed from a thread other than the one "
                       "that opened it\n",
                       stderr);
            std::terminate();
        }
    }

    void show() override {
        owner_.call("show", [&] { inner_->show(); });
    }
    Block askForBlock(const std::string& prompt, const std::string& defaultText,
                      const std::function<void()>& whileWaiting) override {
        return owner_.call("askForBlock",
                           [&] { return inner_->askForBlock(prompt, defaultText, whileWaiting); });
    }
    std::string name(const Block& block) override {
        return owner_.call("name", [&] { return inner_->name(block); });
    }
    Block findBlock(const std::string& text) override {
        return owner_.call("findBlock", [&] { return inner_->findBlock(text); });
    }
    Block usedPart(const Block& block) override {
        return owner_.call("usedPart", [&] { return inner_->usedPart(block); });
    }
    std::string headerValue(const Block& block, std::int32_t column) override {
        return owner_.call("headerValue", [&] { return inner_->headerValue(block, column); });
    }
    dupes::BlockAccess& cells(const Block& block) override {
        dupes::BlockAccess& inner =
            owner_.call("cells", [&]() -> dupes::BlockAccess& { return inner_->cells(block); });
        auto& bound = cells_[&inner];
        if (!bound) {
            bound = std::make_unique<ThreadBoundCells>(inner, owner_);
        }
        return *bound;
    }
    void saveCopyAs(const std::string& path, bool replace,
                    const ProgressListener& progress) override {
        owner_.call("saveCopyAs", [&] { inner_->saveCopyAs(path, replace, progress); });
    }
    void handOverToUser() override {
        owner_.call("handOverToUser", [&] { inner_->handOverToUser(); });
    }

private:
    OwningThread owner_;
    std::unique_ptr<Workbook> inner_;
    std::map<dupes::BlockAccess*, std::unique_ptr<ThreadBoundCells>> cells_;
};

} // namespace

std::unique_ptr<Workbook> BindToThisThread(std::unique_ptr<Workbook> workbook,
                                           std::shared_ptr<StopSwitch> stop) {
    return std::make_unique<ThreadBoundWorkbook>(std::move(workbook), std::move(stop));
}

} // namespace sheet
