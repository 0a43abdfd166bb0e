// Spreadsheet::openWorkbook binds every backend's workbooks to their thread
// itself, so what the binding does is checked once, here, on a workbook
// that knows nothing of threads or stop switches.
#include "ContractBook.h"
#include "Fills.h"
#include "MemorySpreadsheet.h"
#include "MessageOf.h"
#include "sheet/SheetError.h"

#include <filesystem>
#include <functional>
#include <future>
#include <gtest/gtest.h>

namespace {

// Opens through `memory` with the base class's binding to `stop`, but
// hands the memory workbook no switch of its own.
class BindingOnly final : public sheet::Spreadsheet {
public:
    BindingOnly(memory_sheet::MemorySpreadsheet& memory, std::shared_ptr<sheet::StopSwitch> stop)
        : Spreadsheet(std::move(stop)), memory_(memory) {}

protected:
    std::unique_ptr<sheet::Workbook>
    openInNewInstance(const std::string& path, const sheet::ProgressListener& progress) override {
        return memory_.openUnbound(path, progress, nullptr);
    }

private:
    memory_sheet::MemorySpreadsheet& memory_;
};

class ThreadBinding : public ::testing::Test {
protected:
    ThreadBinding() { memory_.files["contract.xlsx"] = ContractBook(); }

    std::unique_ptr<sheet::Workbook> open() {
        spreadsheet_ = std::make_unique<BindingOnly>(memory_, stop_);
        return spreadsheet_->openWorkbook("contract.xlsx");
    }

    memory_sheet::MemorySpreadsheet memory_;
    std::shared_ptr<sheet::StopSwitch> stop_ = std::make_shared<sheet::StopSwitch>();
    std::unique_ptr<sheet::Spreadsheet> spreadsheet_;
};

} // namespace

TEST_F(ThreadBinding, RefusesCallsFromAnotherThread) {
    const auto book = open();
    const sheet::Block block = book->findBlock("Data!$C$5:$F$9");
    auto& cells = book->cells(block);
    const auto fromAnotherThread = [](const std::function<void()>& call) {
        return std::async(std::launch::async, [&] { return MessageOf(call); }).get();
    };
    EXPECT_NE(fromAnotherThread([&] { book->name(block); }).find("(name) from a thread"),
              std::string::npos);
    EXPECT_NE(fromAnotherThread([&] { book->findBlock("Data!A1"); }).find("(findBlock)"),
              std::string::npos);
    EXPECT_NE(fromAnotherThread([&] { cells.cellText(6, 3); }).find("(cellText)"),
              std::string::npos);
    EXPECT_NE(fromAnotherThread([&] {
                  cells.colourSpans({{6, 3, 3}}, 0xFF);
              }).find("(colourSpans)"),
              std::string::npos);
    // Refused, not harmed: the workbook still answers on its own thread.
    EXPECT_EQ(cells.cellText(6, 3), "Ann");
    EXPECT_EQ(FillOf(*book, block, 6, 3), std::nullopt);
}

// Once the stop switch is pulled the application is ended, and a call it can
// no longer answer says the run was stopped, never that it failed.
TEST_F(ThreadBinding, CallsAfterTheStopSayStopped) {
    const auto book = open();
    const sheet::Block block = book->findBlock("Data!$C$5:$F$9");
    auto& cells = book->cells(block);
    const std::size_t callsBefore = memory_.record().calls.size();
    stop_->pull();
    const auto copy = std::filesystem::temp_directory_path() / "vantrelo-stopped-binding.xlsx";
    std::filesystem::remove(copy); // left by an earlier run that failed
    const std::vector<std::pair<const char*, std::function<void()>>> calls{
        {"readTexts",
         [&] {
             dupes::TextTable texts;
             cells.readTexts(5, 5, {3, 4}, texts);
         }},
        {"colourSpans",
         [&] {
             cells.colourSpans({{6, 3, 3}}, 0xFF);
         }},
        {"saveCopyAs", [&] { book->saveCopyAs(copy.string(), false, {}); }},
    };
    for (const auto& [name, call] : calls) {
        EXPECT_THROW(call(), sheet::Stopped) << name;
    }
    EXPECT_FALSE(std::filesystem::exists(copy));
    EXPECT_EQ(memory_.record().calls.size(), callsBefore) << "the workbook itself was called";
}
