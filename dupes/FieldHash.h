#pragma once

#include <cstdint>
#include <cstring>
#include <string_view>

namespace dupes {

// A 64-bit hash over a sequence of texts. Each text's length goes in before
// its bytes, so moving the boundary between two texts changes the hash.
class FieldHash {
public:
    void addField(std::string_view text) {
        mix(text.size());
        const char* bytes = text.data();
        std::size_t left = text.size();
        for (; left >= sizeof(std::uint64_t); left -= sizeof(std::uint64_t)) {
            std::uint64_t word = 0;
            std::memcpy(&word, bytes, sizeof word);
            mix(word);
            bytes += sizeof word;
        }
        if (left > 0) {
            std::uint64_t word = 0;
            std::memcpy(&word, bytes, left);
            mix(word);
        }
    }

    // Well spread in every bit, so low bits can index a table and high bits
    // can tag its slots.
    std::uint64_t value() const {
        std::uint64_t h = state_;
        h ^= h >> 33;
        h *= 0xFF51AFD7ED558CCDull;
        h ^= h >> 33;
        h *= 0xC4CEB9FE1A85EC53ull;
        h ^= h >> 33;
        return h;
    }

private:
    void mix(std::uint64_t word) {
        state_ = ((state_ << 5) | (state_ >> 59)) ^ word;
        state_ *= 0x9E3779B97F4A7C15ull;
    }

    std::uint64_t state_ = 0;
};

} // namespace dupes
