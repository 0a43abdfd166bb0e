#pragma once

// The gateway's contract cases (ContractCases.cpp), run on each backend a
// platform has: every instantiation lists its backends by name.
#include "sheet/Spreadsheet.h"
#include "sheet/StopSwitch.h"

#include <cstdint>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <ostream>
#include <string>

// Stands in for the person marking a block: gets the offered block text and
// answers one, or none for a cancel.
using Answer = std::function<std::optional<std::string>(const std::string&)>;
using Stop = std::shared_ptr<sheet::StopSwitch>;
// The fill of one cell of the block's sheet, or none: the runs never read
// fills, so the gateway does not offer it, and each backend's test reads it.
using FillReader = std::function<std::optional<std::uint32_t>(
    sheet::Workbook&, const sheet::Block&, std::int32_t row, std::int32_t column)>;

struct Backend {
    std::string name;
    // A new spreadsheet that opens the contract book (ContractBook.h) at `path`.
    std::function<std::unique_ptr<sheet::Spreadsheet>(Answer, Stop)> make;
    std::function<std::string()> path;
    // Reads fills of the workbook the last spreadsheet made opened.
    FillReader fillOf;
};

// GoogleTest prints a case's backend by its name.
inline void PrintTo(const Backend& backend, std::ostream* out) {
    *out << backend.name;
}

// The spreadsheet held in memory, on every platform.
Backend MemoryBackend();

class Contract : public ::testing::TestWithParam<Backend> {
protected:
    std::unique_ptr<sheet::Workbook> open(Answer answer = {});
    std::optional<std::uint32_t> fillOf(sheet::Workbook& book, const sheet::Block& block,
                                        std::int32_t row, std::int32_t column) {
        return GetParam().fillOf(book, block, row, column);
    }

private:
    std::unique_ptr<sheet::Spreadsheet> spreadsheet_;
};

// For INSTANTIATE_TEST_SUITE_P: each case is named after its backend.
inline std::string BackendName(const ::testing::TestParamInfo<Backend>& info) {
    return info.param.name;
}
