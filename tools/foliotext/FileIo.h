#pragma once
// Whole-file reading and writing for foliotext. Failures come back as the system's reason.

#include <functional>
#include <string>

namespace foliotext {

// Reads a whole file, or all of standard input. Return false and the system's reason on failure.
bool ReadFile(const std::string& path, std::string& bytes, std::string& reason);
bool ReadStdin(std::string& bytes, std::string& reason);

// Writes everything to a file descriptor; false and the reason on failure.
using FdWriter = std::function<bool(int fd, std::string& reason)>;

// Runs `write` on a temporary file in the target's folder and renames that over the target,
// so the target is either the old file or the whole new one, never a part.
bool WriteFileAtomically(const std::string& path, const FdWriter& write, std::string& reason);

// Writes all bytes to a file descriptor.
bool WriteAll(int fd, const char* data, size_t size, std::string& reason);

} // namespace foliotext
