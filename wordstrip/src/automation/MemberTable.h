#pragma once
// A dispatch object whose members are a table of named handlers: the common base of the
// automation servers implemented in this program.

#include "Dispatch.h"

#include <functional>
#include <string>
#include <vector>

namespace wordstrip {

class MemberTableObject : public DispatchObject {
public:
    using Handler = std::function<HRESULT(CallKind kind, std::span<const Variant> args, Variant* result)>;

    HRESULT GetIdOfName(std::string_view name, DispId& id) override;
    HRESULT Invoke(DispId id, CallKind kind, std::span<const Variant> args, Variant* result) override;

protected:
    void AddMember(std::string name, Handler handler);
    const std::string& MemberName(DispId id) const { return members_[static_cast<size_t>(id)].name; }
    // Called around every call; the default does nothing.
    virtual HRESULT BeforeCall(DispId, CallKind, std::span<const Variant>) { return S_OK; }
    virtual void AfterCall(DispId, CallKind, std::span<const Variant>, HRESULT) {}

private:
    struct Member {
        std::string name;
        Handler handler;
    };
    std::vector<Member> members_;
};

} // namespace wordstrip
