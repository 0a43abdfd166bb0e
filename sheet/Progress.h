#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace sheet {

// The stages of an action on a workbook, in the order they come.
enum class Stage {
    StartingOffice,
    LoadingWorkbook,
    ReadingRows,
    FindingRepeats,
    Colouring,
    SavingCopy
};

// How far an action has come: `done` of `total` within its stage, where a
// total of 0 means the stage gives no measure of itself.
struct Progress {
    Stage stage = Stage::StartingOffice;
    std::int64_t done = 0;
    std::int64_t total = 0;

    friend bool operator==(const Progress&, const Progress&) = default;
};

// Told of every step. May be called on a thread of the spreadsheet
// application's own (the office reports loading and saving from its bridge),
// so it must only do thread-safe things.
using ProgressListener = std::function<void(const Progress&)>;

// "Starting the office", "Loading the workbook: 45%", "Reading rows: 65,536
// of 300,000", for a person watching.
std::string DescribeProgress(const Progress& progress);

// The share of a whole highlight run that lies behind this point, from 0 to
// 100, weighting each stage by its usual length, so one bar can move
// through all of them.
int PercentOfRun(const Progress& progress);

} // namespace sheet
