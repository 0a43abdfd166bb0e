#pragma once

#include <stdexcept>
#include <string>

namespace sheet {

// Any failure of the spreadsheet application, described in words a user can
// act on. Backend exceptions never cross the gateway; they become this.
class SheetError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The user cancelled the block choice, or closed the document or the office
// while it was being asked for.
class BlockChoiceCancelled : public SheetError {
public:
    using SheetError::SheetError;
};

// A wait on the office ended because the run's StopSwitch was pulled: the
// office was ended at once and nothing was finished.
class Stopped : public SheetError {
public:
    Stopped() : SheetError("The run was stopped before it was finished.") {}
};

} // namespace sheet
