#pragma once
// Whole-file reading and writing. A write goes to a temporary file in the target's folder
// which is then renamed over the target, so a reader (or a crash) only ever sees the old
// file or the new one, never a half-written one.

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace folio {

// The file's bytes; throws folio::Error naming the file when it cannot be read.
std::string ReadWholeFile(const std::filesystem::path& file);
// The file's bytes, or nothing when the file does not exist. Other failures throw.
std::optional<std::string> ReadFileIfExists(const std::filesystem::path& file);
// Replaces the file atomically; throws folio::Error naming the file on failure, leaving the
// old file as it was and no temporary file behind.
void WriteFileAtomic(const std::filesystem::path& file, std::string_view bytes);

// Test hook: called between writing the temporary file and the rename.
using BeforeRenameHook = void (*)(const std::filesystem::path& temporaryFile);
void SetBeforeRenameHookForTesting(BeforeRenameHook hook);

} // namespace folio
