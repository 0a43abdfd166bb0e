#include "ThreadBoundWorkbook.h"

#include "SheetError.h"

#include <cstdio>
#include <exception>
#include <map>
#include <string>
#include <thread>

namespace sheet {
namespace {

class OwningThread {
public:
    void check(const char* call) const {
        if (std::this_thread::get_id() != owner_) {
            throw SheetError(std::string("The workbook was used (") + call +
                             ") from a thread other than the one that opened it.");
        }
    }
    bool isCurrent() const { return std::this_thread::get_id() == owner_; }

private:
    std::thread::id owner_ = std::this_thread::get_id();
};

class ThreadBoundCells final : public dupes::BlockAccess {
public:
    ThreadBoundCells(dupes::BlockAccess& inner, const OwningThread& owner)
        : inner_(inner), owner_(owner) {}

    std::string cellText(std::int32_t row, std::int32_t column) override {
        owner_.check("cellText");
        return inner_.cellText(row, column);
    }
    void readTexts(std::int32_t firstRow, std::int32_t rowCount,
                   const std::vector<std::int32_t>& columns, dupes::TextTable& out) override {
        owner_.check("readTexts");
        inner_.readTexts(firstRow, rowCount, columns, out);
    }
    void colourSpans(const std::vector<dupes::CellSpan>& spans, std::uint32_t colour) override {
        owner_.check("colourSpans");
        inner_.colourSpans(spans, colour);
    }

private:
    dupes::BlockAccess& inner_;
    const OwningThread& owner_;
};

class ThreadBoundWorkbook final : public Workbook {
public:
    explicit ThreadBoundWorkbook(std::unique_ptr<Workbook> inner) : inner_(std::move(inner)) {}

    ~ThreadBoundWorkbook() override {
        if (!owner_.isCurrent()) {
            std::fputs("vantrelo: a workbook was closed from a thread other than the one "
                       "that opened it\n",
                       stderr);
            std::terminate();
        }
    }

    void show() override {
        owner_.check("show");
        inner_->show();
    }
    Block askForBlock(const std::string& prompt, const std::string& defaultText,
                      const std::function<void()>& whileWaiting) override {
        owner_.check("askForBlock");
        return inner_->askForBlock(prompt, defaultText, whileWaiting);
    }
    std::string name(const Block& block) override {
        owner_.check("name");
        return inner_->name(block);
    }
    Block findBlock(const std::string& text) override {
        owner_.check("findBlock");
        return inner_->findBlock(text);
    }
    Block usedPart(const Block& block) override {
        owner_.check("usedPart");
        return inner_->usedPart(block);
    }
    std::string headerValue(const Block& block, std::int32_t column) override {
        owner_.check("headerValue");
        return inner_->headerValue(block, column);
    }
    dupes::BlockAccess& cells(const Block& block) override {
        owner_.check("cells");
        dupes::BlockAccess& inner = inner_->cells(block);
        auto& bound = cells_[&inner];
        if (!bound) {
            bound = std::make_unique<ThreadBoundCells>(inner, owner_);
        }
        return *bound;
    }
    void saveCopyAs(const std::string& path, const ProgressListener& progress) override {
        owner_.check("saveCopyAs");
        inner_->saveCopyAs(path, progress);
    }
    void handOverToUser() override {
        owner_.check("handOverToUser");
        inner_->handOverToUser();
    }

    Workbook& backend() {
        owner_.check("backend");
        return *inner_;
    }

private:
    OwningThread owner_;
    std::unique_ptr<Workbook> inner_;
    std::map<dupes::BlockAccess*, std::unique_ptr<ThreadBoundCells>> cells_;
};

} // namespace

std::unique_ptr<Workbook> BindToThisThread(std::unique_ptr<Workbook> workbook) {
    return std::make_unique<ThreadBoundWorkbook>(std::move(workbook));
}

Workbook& BackendOf(Workbook& workbook) {
    auto* bound = dynamic_cast<ThreadBoundWorkbook*>(&workbook);
    return bound != nullptr ? bound->backend() : workbook;
}

} // namespace sheet
