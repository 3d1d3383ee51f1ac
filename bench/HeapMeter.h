#pragma once
// Live and peak heap bytes of the whole process, counted by replacing the global
// operator new and delete. For the benchmark only.

#include <cstddef>

namespace heapmeter {

size_t LiveBytes();
size_t PeakBytes();
// Starts a new peak from the bytes live now.
void ResetPeak();

} // namespace heapmeter
