#pragma once

namespace cli {

struct MainOptions {
    // The program is the window too, started when no argument is given; the
    // usage says so.
    bool windowWithoutArguments = false;
};

// The batch command: `highlight`, `columns`, `--help`, `--version`. Returns
// the exit status: 0 done, 1 failure (one line on standard error), 2 bad
// usage (with the usage on standard error). Needs no display.
int Main(int argc, char** argv, const MainOptions& options = {});

} // namespace cli
