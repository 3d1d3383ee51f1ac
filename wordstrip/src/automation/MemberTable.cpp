#include "MemberTable.h"

#include "../TextCompare.h"

namespace wordstrip {

void MemberTableObject::AddMember(std::string name, Handler handler)
{
    members_.push_back({std::move(name), std::move(handler)});
}

HRESULT MemberTableObject::GetIdOfName(std::string_view name, DispId& id)
{
    for (size_t n = 0; n < members_.size(); ++n) {
        if (EqualsIgnoreCase(members_[n].name, name)) {
            id = static_cast<DispId>(n);
            return S_OK;
        }
    }
    return DISP_E_UNKNOWNNAME;
}

HRESULT MemberTableObject::Invoke(DispId id, CallKind kind, std::span<const Variant> args, Variant* result)
{
    if (id < 0 || static_cast<size_t>(id) >= members_.size()) return DISP_E_MEMBERNOTFOUND;
    HRESULT hr = BeforeCall(id, kind, args);
    if (Succeeded(hr)) hr = members_[static_cast<size_t>(id)].handler(kind, args, result);
    AfterCall(id, kind, args, hr);
    return hr;
}

} // namespace wordstrip
