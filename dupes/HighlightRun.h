#pragma once

#include "BlockAccess.h"
#include "BlockGeometry.h"
#include "ColourTable.h"
#include "TextMatching.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <limits>
#include <stdexcept>
#include <string>
#include <vector>

namespace dupes {

enum class RunKind {
    // Every row whose compared texts occur in another row of the block, the
    // first occurrence included; the block's first row takes part.
    AllDuplicates,
    // Rows from the block's second row down whose compared texts occurred in
    // an earlier examined row; first occurrences stay as they were.
    ExceptFirst,
};

// The window's inputs to a run, as plain values, and what the batch command
// may ask for besides (the window leaves those as they are).
struct HighlightOptions {
    RunKind kind = RunKind::AllDuplicates;
    std::vector<bool> selectedColumns; // entry i: block column i (from 0) is compared
    HighlightColour colour = HighlightColour::Yellow;
    bool entireRow = false;
    TextMatching matching{};     // exact unless asked
    bool colourPerGroup = false; // each group its own fill (GroupFill) instead of `colour`
    bool colourCells = true;     // false: find and group, colour nothing
    bool listGroups = false;     // fills HighlightResult::groups
};

struct RunSummary {
    std::int64_t rowsExamined = 0;
    std::int64_t rowsColoured = 0;
    std::int64_t duplicateGroups = 0; // distinct compared texts that occur more than once
    std::int64_t cellsColoured = 0;

    friend bool operator==(const RunSummary&, const RunSummary&) = default;
};

// Rows whose compared texts match, as a run found them.
struct RowGroup {
    // Sheet rows, ascending: the first is the group's first occurrence, which
    // the run sparing first occurrences leaves uncoloured.
    std::vector<std::int32_t> rows;
    // The compared texts of the first occurrence, as the sheet shows them
    // (not as a forgiving matching compared them).
    std::vector<std::string> firstRowTexts;
};

struct HighlightResult {
    RunSummary summary;
    std::int64_t coloursUsed = 0; // distinct fills given to cells
    // In the order of their first rows, numbered from 1 in that order; only
    // when HighlightOptions::listGroups asks for them.
    std::vector<RowGroup> groups;
};

// A run that cannot go on, described in words for the user.
class RunError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The steps of a run, in the order they come.
enum class RunStage { Reading, Finding, Colouring };

// Called as a run goes: while Reading, with the rows read so far and the rows
// the run will examine; at the start of Finding and of Colouring, with the
// rows examined as both figures.
using ProgressFunction = std::function<void(RunStage stage, std::int64_t done, std::int64_t total)>;

// How much one bulk request to the spreadsheet carries: larger requests mean
// fewer round trips, smaller ones less memory held at a time. Colouring goes
// in one request by default: the office re-walks the fills already in a
// column for every further request, so 333,000 rows coloured in four
// requests took minutes where one request took under two seconds.
struct BulkRequestSizes {
    std::int32_t rowsPerRead = 65536;
    std::size_t rowsPerColourRequest = std::numeric_limits<std::size_t>::max();
};

// The run: reads the compared columns in chunks of rows through the bulk
// operations, finds the rows to colour by hashing, and colours them in one
// bulk request, or a few for very long lists. Throws RunError when the
// column list is narrower than the block, the block is not a valid range,
// or the sheet answers a read with the wrong number of texts.
RunSummary RunHighlight(const HighlightOptions& options, const BlockGeometry& block,
                        BlockAccess& access, const ProgressFunction& progress = {});

// The same with the request sizes chosen; throws std::invalid_argument for a
// size below 1.
RunSummary RunHighlight(const HighlightOptions& options, const BlockGeometry& block,
                        BlockAccess& access, const ProgressFunction& progress,
                        const BulkRequestSizes& sizes);

// The run with all it found. With a colour per group, the fills go by colour:
// each colour's rows in as few requests as one colour's rows take, ascending.
HighlightResult RunHighlightInFull(const HighlightOptions& options, const BlockGeometry& block,
                                   BlockAccess& access, const ProgressFunction& progress = {},
                                   const BulkRequestSizes& sizes = {});

} // namespace dupes
