#pragma once
// The one generic late-bound call through which every office member is reached.

#include "Dispatch.h"

#include <cstdint>
#include <initializer_list>
#include <string_view>
#include <variant>

namespace wordstrip {

// An argument as the caller has it; its type letter says how it is passed:
//   S  a wide string (nullptr gives a null string)
//   s  a narrow string, converted to a wide string
//   b  a boolean
//   i  a 32-bit integer
using MemberArg = std::variant<std::nullptr_t, std::string_view, std::u16string_view, bool, std::int32_t>;

// Looks the member up and calls it. A letter that does not fit its argument, or a count that
// differs, is E_INVALIDARG; no memory for the list is E_OUTOFMEMORY.
HRESULT InvokeMember(DispatchObject& object, CallKind kind, std::string_view name, Variant* result,
                     std::string_view types = {}, std::initializer_list<MemberArg> args = {});

// The object a call returned, or null when it returned something else.
std::shared_ptr<DispatchObject> AsObject(const Variant& v);

} // namespace wordstrip
