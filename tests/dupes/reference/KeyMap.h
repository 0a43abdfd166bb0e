#pragma once

#include <string>
#include <unordered_map>

namespace dupes {

// One run's record of the row keys met so far, each with the position list of
// the first row that had it. Keys match only when equal byte for byte.
class KeyMap {
public:
    bool contains(const std::string& rowKey) const { return entries_.contains(rowKey); }

    // Only for a row key that is not yet present: the first row keeps its entry.
    void add(std::string rowKey, std::string positionList) {
        entries_.emplace(std::move(rowKey), std::move(positionList));
    }

    const std::string& positionListOf(const std::string& rowKey) const {
        return entries_.at(rowKey);
    }

private:
    std::unordered_map<std::string, std::string> entries_;
};

} // namespace dupes
