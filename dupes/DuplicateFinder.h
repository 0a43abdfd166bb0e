#pragma once

#include "TextTable.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace dupes {

// Finds rows whose compared texts repeat, fed rows in the order they are
// examined, a chunk at a time. Rows match when their texts are equal one by
// one, exactly. It keeps each distinct row's texts once, plus a bit per row,
// so memory follows the block, not the chunks fed.
class DuplicateFinder {
public:
    // `expectedRows` sizes the table up front; rows beyond it still work.
    // With `recordFirstRows`, it also keeps for every row the first row with
    // the same texts (four bytes a row), which firstRowOfEachRow() gives.
    explicit DuplicateFinder(std::size_t fieldsPerRow, std::size_t expectedRows = 0,
                             bool recordFirstRows = false);

    // Takes the next `rowCount` rows from `texts`, which holds them row by
    // row, fieldsPerRow texts each. With no fields every row is the same
    // empty row. Throws std::invalid_argument when `texts` is too short.
    void addRows(const TextTable& texts, std::size_t rowCount);

    std::size_t rowsAdded() const { return repeatsEarlier_.size(); }

    // How many distinct rows occur more than once among the rows added.
    std::int64_t duplicateGroups() const {
        return static_cast<std::int64_t>(firstRowsOfRepeated_.size());
    }

    // Indices (in the order fed, from 0) of the rows that equal an earlier
    // row, ascending.
    std::vector<std::uint32_t> rowsRepeatingAnEarlierRow() const;

    // Indices of the rows that equal any other row, the first occurrences
    // included, ascending.
    std::vector<std::uint32_t> rowsSharingTheirTexts() const;

    // Entry i: the index of the first row fed with the same texts as row i
    // (i itself for a first occurrence). Empty unless asked for.
    const std::vector<std::uint32_t>& firstRowOfEachRow() const { return firstRowOf_; }

private:
    // A distinct row as kept in the key pages: the index of the first row
    // with these texts, a flag set once another row matched it, then every
    // text preceded by its 32-bit length. Read and written with memcpy, as
    // entries are packed without alignment.
    //
    // A slot holds the high half of the entry's hash, which settles most
    // mismatches without touching the entry, and where the entry stands:
    // page index times 2^20 plus offset, plus one so that 0 marks a free slot.
    struct Slot {
        std::uint32_t hashTag;
        std::uint32_t entryRef;
    };

    // The first row with the same texts as `row`: `row` itself when new.
    std::uint32_t firstRowWithTexts(std::uint64_t hash, const TextTable& texts,
                                    std::size_t firstCell, std::uint32_t row);
    char* entryAt(std::uint32_t entryRef) const;
    bool entryEquals(const char* entry, const TextTable& texts, std::size_t firstCell) const;
    std::uint64_t hashOfEntry(const char* entry) const;
    std::uint32_t storeEntry(const TextTable& texts, std::size_t firstCell, std::uint32_t row);
    std::uint32_t reserveEntryBytes(std::size_t bytes);
    void growSlots();

    std::size_t fieldsPerRow_;
    std::size_t distinctRows_ = 0;
    // Open addressing with linear probing, kept at most three quarters full.
    std::vector<Slot> slots_;
    // Pages never move once allocated, so slots can point into them.
    std::vector<std::unique_ptr<char[]>> pages_;
    std::size_t pageUsed_ = 0;
    std::size_t pageSize_ = 0;
    std::vector<bool> repeatsEarlier_;
    std::vector<std::uint32_t> firstRowsOfRepeated_;
    bool recordFirstRows_;
    std::vector<std::uint32_t> firstRowOf_;
};

} // namespace dupes
