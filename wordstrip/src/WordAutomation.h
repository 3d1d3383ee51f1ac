#pragma once
// The work done in the office, through the late-bound automation layer only: start, one file's
// open/clean/save/close cycle, and the shutdown.

#include "RunContext.h"

#include <string>

namespace wordstrip {

// Starts the application object of -P (or "Word.Application") and takes its Documents
// collection; a failure is reported as an error (which ends the run).
void StartWord(RunContext& ctx);

// Converts one input file; failures are warnings and the run goes on.
void ConvertFile(RunContext& ctx, const std::string& input);

// The optional clean-up steps; their failures show only in debug mode.
HRESULT RemoveComments(RunContext& ctx, DispatchObject& document);
HRESULT RemoveUserStyles(RunContext& ctx, DispatchObject& document);
HRESULT ResetTextStyles(RunContext& ctx, DispatchObject& document);

// Quits the office and releases everything; runs once, later calls do nothing.
void QuitWord(RunContext& ctx);

} // namespace wordstrip
