#pragma once

#include <stdexcept>

namespace cli {

class Interrupted : public std::runtime_error {
public:
    Interrupted() : std::runtime_error("interrupted; nothing was saved") {}
};

// While one lives, Ctrl+C and a termination request only raise a flag, so
// the command can end its office instance on the way out instead of leaving
// it running. A second request ends the program at once.
class InterruptGuard {
public:
    InterruptGuard();
    ~InterruptGuard();
    InterruptGuard(const InterruptGuard&) = delete;
    InterruptGuard& operator=(const InterruptGuard&) = delete;
};

bool WasInterrupted();

// Throws Interrupted once a request came in.
void ThrowIfInterrupted();

} // namespace cli
