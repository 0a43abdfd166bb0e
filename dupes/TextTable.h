#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace dupes {

// Cell texts in one buffer, addressed by index. A bulk read fills one of
// these row by row instead of allocating a string per cell.
class TextTable {
public:
    void clear() {
        bytes_.clear();
        ends_.clear();
    }
    void append(std::string_view text) {
        bytes_.append(text);
        ends_.push_back(bytes_.size());
    }
    std::size_t size() const { return ends_.size(); }
    // Drops the cells from index `cells` on.
    void truncate(std::size_t cells) {
        if (cells < ends_.size()) {
            ends_.resize(cells);
            bytes_.resize(cells == 0 ? 0 : ends_.back());
        }
    }
    std::string_view cell(std::size_t index) const {
        const std::size_t begin = index == 0 ? 0 : ends_[index - 1];
        return std::string_view(bytes_).substr(begin, ends_[index] - begin);
    }

private:
    std::string bytes_;
    std::vector<std::size_t> ends_;
};

} // namespace dupes
