#include "DuplicateFinder.h"

#include "FieldHash.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <limits>
#include <stdexcept>
#include <string_view>

namespace dupes {
namespace {

constexpr std::size_t kMinSlots = 1024;
constexpr unsigned kPageOffsetBits = 20;
constexpr std::size_t kPageBytes = std::size_t{1} << kPageOffsetBits;
// Keeps page index, offset and the added one within 32 bits: 4 GiB of
// distinct texts at the most.
constexpr std::size_t kMaxPages = (std::size_t{1} << (32 - kPageOffsetBits)) - 1;
// Row indices are 32 bits.
constexpr std::size_t kMaxRows = std::numeric_limits<std::uint32_t>::max();

constexpr std::size_t kFirstRowAt = 0;
constexpr std::size_t kRepeatedAt = sizeof(std::uint32_t);
constexpr std::size_t kFieldsAt = kRepeatedAt + 1;

std::uint32_t HashTag(std::uint64_t hash) {
    return static_cast<std::uint32_t>(hash >> 32);
}

std::uint32_t ReadU32(const char* at) {
    std::uint32_t value = 0;
    std::memcpy(&value, at, sizeof value);
    return value;
}

void WriteU32(char* at, std::uint32_t value) {
    std::memcpy(at, &value, sizeof value);
}

// Slot lookups land at random over a table larger than the caches; asking
// for the slots of a group of rows before probing overlaps their misses.
constexpr std::size_t kRowsPrefetched = 16;

void Prefetch(const void* address) {
#if defined(__GNUC__) || defined(__clang__)
    __builtin_prefetch(address);
#else
    static_cast<void>(address);
#endif
}

std::uint64_t HashOfRow(const TextTable& texts, std::size_t firstCell, std::size_t fields) {
    FieldHash hash;
    for (std::size_t field = 0; field < fields; ++field) {
        hash.addField(texts.cell(firstCell + field));
    }
    return hash.value();
}

std::vector<std::uint32_t> IndicesOfSetBits(const std::vector<bool>& bits) {
    std::vector<std::uint32_t> indices;
    for (std::size_t i = 0; i < bits.size(); ++i) {
        if (bits[i]) {
            indices.push_back(static_cast<std::uint32_t>(i));
        }
    }
    return indices;
}

} // namespace

DuplicateFinder::DuplicateFinder(std::size_t fieldsPerRow, std::size_t expectedRows,
                                 bool recordFirstRows)
    : fieldsPerRow_(fieldsPerRow),
      slots_(std::bit_ceil(std::max(kMinSlots, expectedRows / 3 * 4 + 1)), Slot{0, 0}),
      recordFirstRows_(recordFirstRows) {
    repeatsEarlier_.reserve(expectedRows);
    if (recordFirstRows_) {
        firstRowOf_.reserve(expectedRows);
    }
}

void DuplicateFinder::addRows(const TextTable& texts, std::size_t rowCount) {
    if (fieldsPerRow_ != 0 && texts.size() / fieldsPerRow_ < rowCount) {
        throw std::invalid_argument("Fewer texts than rows times fields were given");
    }
    if (rowCount > kMaxRows - rowsAdded()) {
        throw std::length_error("Too many rows to compare");
    }
    std::uint64_t hashes[kRowsPrefetched];
    for (std::size_t group = 0; group < rowCount; group += kRowsPrefetched) {
        const std::size_t groupRows = std::min(kRowsPrefetched, rowCount - group);
        for (std::size_t i = 0; i < groupRows; ++i) {
            hashes[i] = HashOfRow(texts, (group + i) * fieldsPerRow_, fieldsPerRow_);
            Prefetch(&slots_[hashes[i] & (slots_.size() - 1)]);
        }
        // Second step of the same idea: the entries of slots that look like
        // a match, so the comparison that follows finds them in the cache.
        for (std::size_t i = 0; i < groupRows; ++i) {
            const Slot& home = slots_[hashes[i] & (slots_.size() - 1)];
            if (home.entryRef != 0 && home.hashTag == HashTag(hashes[i])) {
                Prefetch(entryAt(home.entryRef));
            }
        }
        for (std::size_t i = 0; i < groupRows; ++i) {
            const auto row = static_cast<std::uint32_t>(rowsAdded());
            const std::uint32_t first =
                firstRowWithTexts(hashes[i], texts, (group + i) * fieldsPerRow_, row);
            repeatsEarlier_.push_back(first != row);
            if (recordFirstRows_) {
                firstRowOf_.push_back(first);
            }
        }
    }
}

std::uint32_t DuplicateFinder::firstRowWithTexts(std::uint64_t hash, const TextTable& texts,
                                                 std::size_t firstCell, std::uint32_t row) {
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
        Slot& slot = slots_[i];
        if (slot.entryRef == 0) {
            slot = Slot{HashTag(hash), storeEntry(texts, firstCell, row)};
            if (++distinctRows_ * 4 > slots_.size() * 3) {
                growSlots();
            }
            return row;
        }
        if (slot.hashTag != HashTag(hash)) {
            continue;
        }
        char* const entry = entryAt(slot.entryRef);
        if (entryEquals(entry, texts, firstCell)) {
            const std::uint32_t first = ReadU32(entry + kFirstRowAt);
            if (entry[kRepeatedAt] == 0) {
                entry[kRepeatedAt] = 1;
                firstRowsOfRepeated_.push_back(first);
            }
            return first;
        }
    }
}

char* DuplicateFinder::entryAt(std::uint32_t entryRef) const {
    const std::uint32_t position = entryRef - 1;
    return pages_[position >> kPageOffsetBits].get() + (position & (kPageBytes - 1));
}

bool DuplicateFinder::entryEquals(const char* entry, const TextTable& texts,
                                  std::size_t firstCell) const {
    const char* at = entry + kFieldsAt;
    for (std::size_t field = 0; field < fieldsPerRow_; ++field) {
        const std::string_view text = texts.cell(firstCell + field);
        const std::uint32_t length = ReadU32(at);
        at += sizeof length;
        if (text.size() != length || (length != 0 && std::memcmp(at, text.data(), length) != 0)) {
            return false;
        }
        at += length;
    }
    return true;
}

std::uint64_t DuplicateFinder::hashOfEntry(const char* entry) const {
    FieldHash hash;
    const char* at = entry + kFieldsAt;
    for (std::size_t field = 0; field < fieldsPerRow_; ++field) {
        const std::uint32_t length = ReadU32(at);
        at += sizeof length;
        hash.addField(std::string_view(at, length));
        at += length;
    }
    return hash.value();
}

std::uint32_t DuplicateFinder::storeEntry(const TextTable& texts, std::size_t firstCell,
                                          std::uint32_t row) {
    std::size_t bytes = kFieldsAt;
    for (std::size_t field = 0; field < fieldsPerRow_; ++field) {
        const std::size_t length = texts.cell(firstCell + field).size();
        if (length > std::numeric_limits<std::uint32_t>::max()) {
            throw std::length_error("A cell text too long to compare");
        }
        bytes += sizeof(std::uint32_t) + length;
    }
    const std::uint32_t entryRef = reserveEntryBytes(bytes);
    char* const entry = entryAt(entryRef);
    WriteU32(entry + kFirstRowAt, row);
    entry[kRepeatedAt] = 0;
    char* at = entry + kFieldsAt;
    for (std::size_t field = 0; field < fieldsPerRow_; ++field) {
        const std::string_view text = texts.cell(firstCell + field);
        WriteU32(at, static_cast<std::uint32_t>(text.size()));
        at += sizeof(std::uint32_t);
        std::copy(text.begin(), text.end(), at);
        at += text.size();
    }
    return entryRef;
}

std::uint32_t DuplicateFinder::reserveEntryBytes(std::size_t bytes) {
    if (pages_.empty() || pageSize_ - pageUsed_ < bytes) {
        if (pages_.size() == kMaxPages) {
            throw std::length_error("Too much text to compare");
        }
        // A row larger than a page gets a page of its own; its entry starts
        // at offset 0, so the offset bits still suffice.
        pageSize_ = std::max(kPageBytes, bytes);
        pages_.push_back(std::make_unique_for_overwrite<char[]>(pageSize_));
        pageUsed_ = 0;
    }
    const auto position =
        static_cast<std::uint32_t>(((pages_.size() - 1) << kPageOffsetBits) + pageUsed_);
    pageUsed_ += bytes;
    return position + 1;
}

void DuplicateFinder::growSlots() {
    std::vector<Slot> grown(slots_.size() * 2, Slot{0, 0});
    const std::size_t mask = grown.size() - 1;
    for (const Slot& slot : slots_) {
        if (slot.entryRef == 0) {
            continue;
        }
        std::size_t i = hashOfEntry(entryAt(slot.entryRef)) & mask;
        while (grown[i].entryRef != 0) {
            i = (i + 1) & mask;
        }
        grown[i] = slot;
    }
    slots_ = std::move(grown);
}

std::vector<std::uint32_t> DuplicateFinder::rowsRepeatingAnEarlierRow() const {
    return IndicesOfSetBits(repeatsEarlier_);
}

std::vector<std::uint32_t> DuplicateFinder::rowsSharingTheirTexts() const {
    std::vector<bool> shared = repeatsEarlier_;
    for (const std::uint32_t row : firstRowsOfRepeated_) {
        shared[row] = true;
    }
    return IndicesOfSetBits(shared);
}

} // namespace dupes
