#pragma once
// "Word.Application": the adapter that presents Word's members over an office suite.

#include "Dispatch.h"

#include <memory>

namespace wordstrip {

// Starts the office and makes the application object. A build without the office's SDK
// cannot start it: CO_E_SERVER_EXEC_FAILURE.
HRESULT CreateOfficeApplication(std::shared_ptr<DispatchObject>& instance);

} // namespace wordstrip
