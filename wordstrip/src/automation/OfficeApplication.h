#pragma once
// "Word.Application": the adapter that presents Word's members over an office suite.

#include "Dispatch.h"

#include <memory>

namespace wordstrip {

// Makes the application object. No office can be driven in this build yet, so the server
// cannot be started: CO_E_SERVER_EXEC_FAILURE.
HRESULT CreateOfficeApplication(std::shared_ptr<DispatchObject>& instance);

} // namespace wordstrip
