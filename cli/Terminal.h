#pragma once

namespace cli {

// Whether standard error goes to a terminal, where a progress bar can redraw
// its line. The one place that asks the platform.
bool StandardErrorIsTerminal();

} // namespace cli
