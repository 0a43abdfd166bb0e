#pragma once

#include "RunSupport.h"

#include <random>

namespace dupes_test {

// A random block and run over a small alphabet of texts that differ in case,
// blanks and separators, so repeats and near-repeats are common; random
// options (matching included) and small, odd request sizes, so chunk edges
// fall everywhere.
struct RandomRun {
    Rows rows;
    dupes::BlockGeometry block;
    dupes::HighlightOptions options;
    dupes::BulkRequestSizes sizes;
};

int Between(std::mt19937& random, int low, int high);

RandomRun MakeRandomRun(std::mt19937& random, int maxRows);

} // namespace dupes_test
