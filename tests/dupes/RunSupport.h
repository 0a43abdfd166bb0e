#pragma once

#include "TableBlock.h"
#include "dupes/HighlightRun.h"
#include "reference/CellByCellRun.h"

#include <functional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace dupes {
// Readable failure messages for what the runs send and return.
inline void PrintTo(const CellSpan& span, std::ostream* out) {
    *out << "row " << span.row << " columns " << span.firstColumn << "-" << span.lastColumn;
}
inline void PrintTo(const RunSummary& summary, std::ostream* out) {
    *out << "{examined " << summary.rowsExamined << ", rows coloured " << summary.rowsColoured
         << ", groups " << summary.duplicateGroups << ", cells coloured " << summary.cellsColoured
         << "}";
}
} // namespace dupes

namespace dupes_test {

// Column list from a picture: 'x' marks a selected entry, anything else not.
inline std::vector<bool> Selection(std::string_view picture) {
    std::vector<bool> selected;
    for (const char mark : picture) {
        selected.push_back(mark == 'x');
    }
    return selected;
}

// The block exactly covering `rows` placed at (topRow, leftColumn).
inline dupes::BlockGeometry BlockAt(std::int32_t topRow, std::int32_t leftColumn,
                                    const Rows& rows) {
    return {topRow, leftColumn, topRow + static_cast<std::int32_t>(rows.size()) - 1,
            leftColumn + static_cast<std::int32_t>(rows.front().size()) - 1};
}

// One way to carry out a run; every behaviour test runs under each of them.
struct RunFlavour {
    std::string name;
    std::function<dupes::RunSummary(const dupes::HighlightOptions&, const dupes::BlockGeometry&,
                                    dupes::BlockAccess&)>
        run;

    friend void PrintTo(const RunFlavour& flavour, std::ostream* out) { *out << flavour.name; }
};

inline std::vector<RunFlavour> AllRunFlavours() {
    return {
        {"CellByCell", dupes::RunHighlightCellByCell},
        {"Bulk", [](const auto& options, const auto& block,
                    auto& access) { return dupes::RunHighlight(options, block, access); }},
        {"BulkTwoRowsARequest",
         [](const auto& options, const auto& block, auto& access) {
             return dupes::RunHighlight(options, block, access, {}, {2, 2});
         }},
    };
}

} // namespace dupes_test
