#include "RunInputs.h"

#include <algorithm>
#include <string>

namespace dupes {
namespace {

constexpr const char* kChooseAgain = " Choose the block again with the \"...\" button.";

std::string Counted(std::int64_t count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

} // namespace

void CheckRunInputs(const HighlightOptions& options, const BlockGeometry& block) {
    if (block.firstRow < 1 || block.firstColumn < 1 || block.lastRow < block.firstRow ||
        block.lastColumn < block.firstColumn) {
        throw RunError("The block of cells is not a valid range (rows " +
                       std::to_string(block.firstRow) + " to " + std::to_string(block.lastRow) +
                       ", columns " + std::to_string(block.firstColumn) + " to " +
                       std::to_string(block.lastColumn) + ")." + kChooseAgain);
    }
    const auto entries = static_cast<std::int64_t>(options.selectedColumns.size());
    if (entries < block.columnCount()) {
        throw RunError("The block has " + Counted(block.columnCount(), "column", "columns") +
                       " but the column list has only " + Counted(entries, "entry", "entries") +
                       "." + kChooseAgain);
    }
}

std::int32_t FirstExaminedOffset(RunKind kind) {
    return kind == RunKind::ExceptFirst ? 1 : 0;
}

std::int64_t RowsExamined(RunKind kind, const BlockGeometry& block) {
    return std::max<std::int64_t>(0, block.rowCount() - FirstExaminedOffset(kind));
}

} // namespace dupes
