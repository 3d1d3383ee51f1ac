#pragma once
// The late-bound automation interface: an object whose members are found by name and called
// with a list of typed values. Every office the converter drives is reached only through this
// interface, so the conversion steps never depend on the office behind it.

#include "Hresult.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>

namespace wordstrip {

class DispatchObject;

// A wide string that may be null (a null string is not the same as an empty one).
struct WideText {
    std::optional<std::u16string> text;
    bool operator==(const WideText&) const = default;
};

// One argument or result value.
using Variant = std::variant<std::monostate, bool, std::int32_t, WideText, std::shared_ptr<DispatchObject>>;

enum class CallKind { Method, PropertyGet, PropertyPut };

using DispId = std::int32_t;

class DispatchObject {
public:
    virtual ~DispatchObject() = default;

    // Finds a member by name (case-insensitively); DISP_E_UNKNOWNNAME when there is none.
    virtual HRESULT GetIdOfName(std::string_view name, DispId& id) = 0;

    // Calls a member. The arguments come in the member's parameter order (leftmost first);
    // for a property put the single argument is the new value. The result, when asked for,
    // has been cleared by the caller.
    virtual HRESULT Invoke(DispId id, CallKind kind, std::span<const Variant> args, Variant* result) = 0;
};

} // namespace wordstrip
