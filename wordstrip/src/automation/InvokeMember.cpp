#include "InvokeMember.h"

#include "WideString.h"

#include <new>
#include <vector>

namespace wordstrip {
namespace {

bool ToVariant(char letter, const MemberArg& arg, Variant& out)
{
    switch (letter) {
    case 'S':
        if (std::holds_alternative<std::nullptr_t>(arg)) {
            out = WideText{};
            return true;
        }
        if (auto* w = std::get_if<std::u16string_view>(&arg)) {
            out = WideText{std::u16string(*w)};
            return true;
        }
        return false;
    case 's':
        if (auto* s = std::get_if<std::string_view>(&arg)) {
            out = WideText{WidenString(*s)};
            return true;
        }
        return false;
    case 'b':
        if (auto* b = std::get_if<bool>(&arg)) {
            out = *b;
            return true;
        }
        return false;
    case 'i':
        if (auto* i = std::get_if<std::int32_t>(&arg)) {
            out = *i;
            return true;
        }
        return false;
    default:
        return false;
    }
}

} // namespace

HRESULT InvokeMember(DispatchObject& object, CallKind kind, std::string_view name, Variant* result,
                     std::string_view types, std::initializer_list<MemberArg> args)
{
    DispId id = 0;
    if (HRESULT hr = object.GetIdOfName(name, id); Failed(hr)) return hr;
    if (types.size() != args.size()) return E_INVALIDARG;
    if (kind == CallKind::PropertyPut && args.size() != 1) return E_INVALIDARG;
    std::vector<Variant> list;
    try {
        list.resize(args.size());
        auto arg = args.begin();
        for (size_t n = 0; n < types.size(); ++n, ++arg)
            if (!ToVariant(types[n], *arg, list[n])) return E_INVALIDARG;
    } catch (const std::bad_alloc&) {
        return E_OUTOFMEMORY;
    }
    if (result) *result = std::monostate{};
    return object.Invoke(id, kind, list, result);
}

std::shared_ptr<DispatchObject> AsObject(const Variant& v)
{
    if (auto* p = std::get_if<std::shared_ptr<DispatchObject>>(&v)) return *p;
    return nullptr;
}

} // namespace wordstrip
