#pragma once
// Program identifiers of automation servers and how an instance of each is made.
// "Word.Application" drives the office; other identifiers (the recording server of the tests)
// sit beside it and are chosen with -P.

#include "Dispatch.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace wordstrip {

using ClassId = std::size_t;

// Makes a new application object, or returns why it could not.
using ServerFactory = std::function<HRESULT(std::shared_ptr<DispatchObject>& instance)>;

class ClassRegistry {
public:
    void Register(std::string progId, ServerFactory factory);

    // The class of a program identifier (compared case-insensitively); CO_E_CLASSSTRING
    // when no class is registered under it.
    HRESULT ClassIdFromProgId(std::string_view progId, ClassId& id) const;

    HRESULT CreateInstance(ClassId id, std::shared_ptr<DispatchObject>& instance) const;

private:
    struct Entry {
        std::string progId;
        ServerFactory factory;
    };
    std::vector<Entry> entries_;
};

// The classes every run knows: "Word.Application" and the recording server.
ClassRegistry MakeStandardClassRegistry();

} // namespace wordstrip
