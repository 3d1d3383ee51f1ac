#pragma once
// Ctrl-C and its relatives (SIGINT, SIGTERM, SIGHUP) only raise this flag; the main thread
// polls it between steps, finishes or abandons the current one, shuts the office down and ends.

#include <csignal>

namespace wordstrip {

extern volatile std::sig_atomic_t AbortRequested;

// Installs the handlers; they stay installed, so every later signal is caught as well.
void InstallAbortHandler();

inline bool Aborting() { return AbortRequested != 0; }

} // namespace wordstrip
