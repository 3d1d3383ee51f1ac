#include "OfficeApplication.h"

namespace wordstrip {

HRESULT CreateOfficeApplication(std::shared_ptr<DispatchObject>& instance)
{
    instance.reset();
    return CO_E_SERVER_EXEC_FAILURE;
}

} // namespace wordstrip
