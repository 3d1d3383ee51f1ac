#include "Hresult.h"

#include <array>
#include <utility>

namespace wordstrip {

std::optional<std::string_view> DescribeHresult(HRESULT hr)
{
    static constexpr std::array<std::pair<HRESULT, std::string_view>, 27> kTexts{{
        {E_NOTIMPL, "Not implemented"},
        {E_POINTER, "Invalid pointer"},
        {E_ABORT, "Operation aborted"},
        {E_FAIL, "Unspecified error"},
        {E_OUTOFMEMORY, "Not enough memory resources are available to complete this operation"},
        {E_INVALIDARG, "One or more arguments are invalid"},
        {DISP_E_MEMBERNOTFOUND, "Member not found"},
        {DISP_E_TYPEMISMATCH, "Type mismatch"},
        {DISP_E_UNKNOWNNAME, "Unknown name"},
        {DISP_E_BADINDEX, "Invalid index"},
        {DISP_E_BADPARAMCOUNT, "Invalid number of parameters"},
        {STG_E_FILENOTFOUND, "The file could not be found"},
        {REGDB_E_CLASSNOTREG, "Class not registered"},
        {CO_E_CLASSSTRING, "Invalid class string"},
        {CO_E_SERVER_EXEC_FAILURE, "Server execution failed"},
        {RPC_E_DISCONNECTED, "The object invoked has disconnected from its clients"},
        {OFFICE_E_NOT_RESPONDING, "The office stopped responding and was ended"},
        {OFFICE_E_ENDED, "The office ended unexpectedly"},
        {OFFICE_E_PASSWORD, "The document is protected by a password"},
        {OFFICE_E_UNKNOWN_FORMAT, "The office does not recognise the format of the file"},
        {OFFICE_E_DAMAGED, "The file is damaged or is not in the format its contents claim"},
        {OFFICE_E_READ, "The office could not read the file"},
        {OFFICE_E_WRITE, "The office could not write the file"},
        {OFFICE_E_FAILED, "The office reported an error"},
        {OFFICE_E_ACCESS, "The office was denied access to the file"},
        {OFFICE_E_EMPTY, "The file is empty"},
        {OFFICE_E_NOT_DOCUMENT, "The file is neither a document nor text"},
    }};
    for (const auto& [code, text] : kTexts)
        if (code == hr) return text;
    return std::nullopt;
}

} // namespace wordstrip
