#include "Interrupt.h"

#include <csignal>

namespace cli {
namespace {

volatile std::sig_atomic_t interrupted = 0;

void NoteInterrupt(int signal) {
    interrupted = 1;
    std::signal(signal, SIG_DFL);
}

} // namespace

InterruptGuard::InterruptGuard() {
    interrupted = 0;
    std::signal(SIGINT, NoteInterrupt);
    std::signal(SIGTERM, NoteInterrupt);
}

InterruptGuard::~InterruptGuard() {
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);
}

bool WasInterrupted() {
    return interrupted != 0;
}

void ThrowIfInterrupted() {
    if (WasInterrupted()) {
        throw Interrupted();
    }
}

} // namespace cli
