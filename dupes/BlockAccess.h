#pragma once

#include "BlockGeometry.h"
#include "CellSpan.h"
#include "TextTable.h"

#include <cstdint>
#include <string>
#include <vector>

namespace dupes {

// What a highlight run needs from the spreadsheet holding the block. The
// spreadsheet layer implements it; tests implement it over tables of texts.
// Rows and columns are sheet numbers counted from 1. Colours carry red in the
// lowest byte, green next, blue above. Any method may throw an exception
// derived from std::exception whose what() describes the failure in words.
// An access belongs to the thread that opened its workbook and is used on
// that thread only.
class BlockAccess {
public:
    virtual ~BlockAccess() = default;

    // The displayed text of one cell, exactly as the spreadsheet shows it: one
    // request per cell, the reference the bulk read is proven equal to.
    virtual std::string cellText(std::int32_t row, std::int32_t column) = 0;

    // Appends to `out` the displayed texts of rows firstRow .. firstRow +
    // rowCount - 1, row by row, each row holding the cells of `columns` in
    // the order given: exactly rowCount x columns.size() texts, each equal
    // to what cellText() gives for its cell. A run asks for at most
    // BulkRequestSizes::rowsPerRead rows at a time, so a backend may hold a
    // whole request in memory.
    virtual void readTexts(std::int32_t firstRow, std::int32_t rowCount,
                           const std::vector<std::int32_t>& columns, TextTable& out) = 0;

    // Sets the fill of every cell of every span, in one request where the
    // spreadsheet allows it. Throws when the spreadsheet refuses the fills
    // (a protected sheet, a read-only document), never leaving it unsaid.
    virtual void colourSpans(const std::vector<CellSpan>& spans, std::uint32_t colour) = 0;
};

} // namespace dupes
