#pragma once
// Whole-file reading and writing for foliotext. Failures come back as the system's reason.

#include <string>

namespace foliotext {

// Reads a whole file, or all of standard input. Return false and the system's reason on failure.
bool ReadFile(const std::string& path, std::string& bytes, std::string& reason);
bool ReadStdin(std::string& bytes, std::string& reason);

// Writes the bytes to a temporary file in the target's folder and renames it over the
// target, so the target is either the old file or the whole new one, never a part.
bool WriteFileAtomically(const std::string& path, const std::string& bytes, std::string& reason);

// Writes all bytes to standard output.
bool WriteStdout(const std::string& bytes, std::string& reason);

} // namespace foliotext
