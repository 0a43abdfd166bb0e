#include "RandomRuns.h"

namespace dupes_test {
namespace {

template <typename T> const T& PickFrom(std::mt19937& random, const std::vector<T>& choices) {
    return choices[std::uniform_int_distribution<std::size_t>(0, choices.size() - 1)(random)];
}

} // namespace

int Between(std::mt19937& random, int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(random);
}

RandomRun MakeRandomRun(std::mt19937& random, int maxRows) {
    static const std::vector<std::string> texts{"",
                                                "a",
                                                "A",
                                                "a ",
                                                " a",
                                                "b",
                                                "1,00",
                                                "1",
                                                "|Kestravon_1|",
                                                "a|Kestravon_1|",
                                                "STRASSE",
                                                "straße",
                                                "a\u00A0",
                                                "a  b",
                                                "A b",
                                                "\xFF"};
    const int alphabet = Between(random, 1, static_cast<int>(texts.size()));
    RandomRun made;
    made.rows.resize(static_cast<std::size_t>(Between(random, 1, maxRows)));
    const auto width = static_cast<std::size_t>(Between(random, 1, 5));
    for (auto& row : made.rows) {
        for (std::size_t c = 0; c < width; ++c) {
            row.push_back(texts[static_cast<std::size_t>(Between(random, 0, alphabet - 1))]);
        }
    }
    made.block = BlockAt(Between(random, 1, 1000), Between(random, 1, 40), made.rows);
    made.options.kind =
        Between(random, 0, 1) == 0 ? dupes::RunKind::AllDuplicates : dupes::RunKind::ExceptFirst;
    made.options.selectedColumns.resize(width + static_cast<std::size_t>(Between(random, 0, 2)));
    for (std::size_t c = 0; c < made.options.selectedColumns.size(); ++c) {
        made.options.selectedColumns[c] = Between(random, 0, 2) != 0;
    }
    made.options.colour =
        PickFrom(random, std::vector<dupes::HighlightColour>(dupes::kHighlightColours.begin(),
                                                             dupes::kHighlightColours.end()));
    made.options.entireRow = Between(random, 0, 1) == 1;
    made.options.matching = {Between(random, 0, 1) == 1, Between(random, 0, 1) == 1};
    made.sizes.rowsPerRead = Between(random, 1, 9);
    made.sizes.rowsPerColourRequest = static_cast<std::size_t>(Between(random, 1, 9));
    return made;
}

} // namespace dupes_test
