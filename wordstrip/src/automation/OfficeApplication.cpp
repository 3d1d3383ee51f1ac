#include "OfficeApplication.h"

#ifdef WORDSTRIP_WITH_OFFICE
#include "office/OfficeAdapter.h"
#endif

namespace wordstrip {

HRESULT CreateOfficeApplication(std::shared_ptr<DispatchObject>& instance)
{
    instance.reset();
#ifdef WORDSTRIP_WITH_OFFICE
    return office::CreateLibreOfficeApplication(instance);
#else
    return CO_E_SERVER_EXEC_FAILURE;
#endif
}

} // namespace wordstrip
