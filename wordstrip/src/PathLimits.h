#pragma once
// The system's path limit. A path "reaches the limit" when its length, counted with the
// terminating zero, would not fit: so the longest usable path is kMaxPath - 1 bytes.

#include <climits>
#include <cstddef>

namespace wordstrip {

#ifdef PATH_MAX
inline constexpr std::size_t kMaxPath = PATH_MAX;
#else
inline constexpr std::size_t kMaxPath = 4096;
#endif

// The output folder keeps room for a separator and a short name after it.
inline constexpr std::size_t kMaxOutputFolder = kMaxPath - 5;

// Longest extension of -e/-E, its dot not counted.
inline constexpr std::size_t kMaxExtension = 38;

} // namespace wordstrip
