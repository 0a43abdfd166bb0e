#include "TabSeparatedText.h"

#include <algorithm>
#include <string>

namespace sheet {

namespace {

// The end of a quoted field starting at `i` (just past its closing quote),
// with its text in `field`; npos when it does not close before a separator.
std::size_t QuotedFieldEnd(std::string_view text, std::size_t i, std::string& field) {
    field.clear();
    for (++i; i < text.size(); ++i) {
        if (text[i] != '"') {
            field += text[i];
        } else if (i + 1 < text.size() && text[i + 1] == '"') {
            field += '"';
            ++i;
        } else {
            ++i;
            const bool atSeparator =
                i == text.size() || text[i] == '\t' || text[i] == '\n' || text[i] == '\r';
            return atSeparator ? i : std::string_view::npos;
        }
    }
    return std::string_view::npos;
}

// A control character other than a tab or line break is not what the cell
// shows: seen where a tab inside a cell was copied as \x01.
bool HasStrayControl(std::string_view field) {
    return std::any_of(field.begin(), field.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte < 0x20 && c != '\t' && c != '\n' && c != '\r';
    });
}

} // namespace

bool ParseTabSeparated(std::string_view text, std::size_t rows, std::size_t columns,
                       dupes::TextTable& out, std::vector<std::size_t>& ambiguous) {
    const std::size_t before = out.size();
    const std::size_t ambiguousBefore = ambiguous.size();
    const auto reject = [&] {
        out.truncate(before); // a malformed text appends nothing
        ambiguous.resize(ambiguousBefore);
        return false;
    };
    std::string quoted;
    std::size_t i = 0;
    for (std::size_t row = 0; row < rows; ++row) {
        for (std::size_t column = 0; column < columns; ++column) {
            const std::size_t fieldIndex = out.size();
            std::size_t quotedEnd = std::string_view::npos;
            if (i < text.size() && text[i] == '"') {
                quotedEnd = QuotedFieldEnd(text, i, quoted);
                // Only a quoted field can hold a tab or line break.
                if (quotedEnd == std::string_view::npos ||
                    quoted.find_first_of("\t\r\n") == std::string::npos) {
                    ambiguous.push_back(out.size());
                }
            }
            if (quotedEnd != std::string_view::npos) {
                out.append(quoted);
                i = quotedEnd;
            } else {
                const std::size_t end = text.find_first_of("\t\r\n", i);
                const std::size_t stop = end == std::string_view::npos ? text.size() : end;
                out.append(text.substr(i, stop - i));
                i = stop;
            }
            if (HasStrayControl(out.cell(fieldIndex)) &&
                (ambiguous.size() == ambiguousBefore || ambiguous.back() != fieldIndex)) {
                ambiguous.push_back(fieldIndex);
            }
            const bool last = column + 1 == columns;
            if (!last) {
                if (i >= text.size() || text[i] != '\t') {
                    return reject();
                }
                ++i;
            }
        }
        // Every row, the last included, ends with a line break; being strict
        // here is what tells an empty last row from a missing one.
        if (i < text.size() && text[i] == '\r') {
            ++i;
        }
        if (i < text.size() && text[i] == '\n') {
            ++i;
        } else if (!(rows == 1 && columns == 1 && i == text.size())) {
            return reject(); // a single cell is copied without the line break
        }
    }
    return i == text.size() || reject();
}

} // namespace sheet
