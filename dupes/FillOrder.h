#pragma once

#include <cstdint>
#include <vector>

namespace dupes {

// The rows one fill request colours: offsets from the run's first examined
// row, ascending.
struct RowsOfFill {
    std::uint32_t fill = 0;
    std::vector<std::uint32_t> rows;

    friend bool operator==(const RowsOfFill&, const RowsOfFill&) = default;
};

// Fills of several colours, sent one request a colour, arranged so that the
// spreadsheet can take the later requests in place. LibreOffice keeps each
// column's fills as a sorted list of runs of alike cells: a run added in
// the middle moves every entry after it, so colouring twelve interleaved
// colours one after another cost about six times one colour's request,
// while recolouring a run that is already an entry of its own is cheap.
// So the first request also paints, in its own colour for now, every other
// run of each stretch of adjacent coloured rows (as few left merged as can
// be), and the later requests paint those over. The fills that result are
// those of `fills` sent in order; the first request holds more rows.
std::vector<RowsOfFill> WithRunsLaidOutFirst(std::vector<RowsOfFill> fills);

} // namespace dupes
