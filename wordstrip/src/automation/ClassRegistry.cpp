#include "ClassRegistry.h"

#include "../TextCompare.h"

namespace wordstrip {

void ClassRegistry::Register(std::string progId, ServerFactory factory)
{
    entries_.push_back({std::move(progId), std::move(factory)});
}

HRESULT ClassRegistry::ClassIdFromProgId(std::string_view progId, ClassId& id) const
{
    for (size_t n = 0; n < entries_.size(); ++n) {
        if (EqualsIgnoreCase(entries_[n].progId, progId)) {
            id = n;
            return S_OK;
        }
    }
    return CO_E_CLASSSTRING;
}

HRESULT ClassRegistry::CreateInstance(ClassId id, std::shared_ptr<DispatchObject>& instance) const
{
    instance.reset();
    if (id >= entries_.size()) return REGDB_E_CLASSNOTREG;
    return entries_[id].factory(instance);
}

} // namespace wordstrip
