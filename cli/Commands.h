#pragma once

#include "Arguments.h"

#include <ostream>

namespace cli {

// Each runs its command in a new headless office instance of its own and
// ends it before returning. Results go to `out`, progress to `err`; failures
// leave as exceptions.
void RunHighlightCommand(const HighlightCommand& command, std::ostream& out, std::ostream& err);
void RunColumnsCommand(const ColumnsCommand& command, std::ostream& out);

} // namespace cli
