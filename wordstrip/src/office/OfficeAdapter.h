#pragma once
// "Word.Application" over LibreOffice: Word's members, as the conversion steps call them,
// carried out by one office process through its C++ UNO API.

#include "automation/Dispatch.h"

#include <memory>

namespace wordstrip::office {

// Starts the office and returns the application object; on failure the office is gone again.
HRESULT CreateLibreOfficeApplication(std::shared_ptr<DispatchObject>& instance);

} // namespace wordstrip::office
