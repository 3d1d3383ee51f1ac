#pragma once
// The recording automation server: Word's members (as the converter calls them) over the
// in-memory document of RecordingDocument.h. It appends every call with its arguments and its
// result to a record file, and can be told to fail any member with a chosen HRESULT.
//
// Chosen with -P Recording.Application. Set up through the environment:
//   WORDSTRIP_RECORDING_LOG        the record file (appended to; nothing is recorded without it)
//   WORDSTRIP_RECORDING_FAIL       OBJECT.MEMBER=HEX[,OBJECT.MEMBER=HEX...]: failures for the run
//   WORDSTRIP_RECORDING_NOTIFY_FD  a descriptor that receives "paused\n" when a "pause" of a
//                                  fixture is reached
// SaveAs in format 8 (HTML) also makes the companion folder "<name>.files" with a picture.

#include "Dispatch.h"

#include <memory>
#include <string_view>

namespace wordstrip {

inline constexpr std::string_view kRecordingProgId = "Recording.Application";

HRESULT CreateRecordingApplication(std::shared_ptr<DispatchObject>& instance);

} // namespace wordstrip
