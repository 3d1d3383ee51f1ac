#pragma once
// Result codes of the automation layer, with the values and meanings of COM's HRESULTs.

#include <cstdint>
#include <optional>
#include <string_view>

namespace wordstrip {

using HRESULT = std::uint32_t;

constexpr bool Failed(HRESULT hr) { return (hr & 0x80000000u) != 0; }
constexpr bool Succeeded(HRESULT hr) { return !Failed(hr); }

// A failed system call, carried as an HRESULT (facility 7 with the errno value).
constexpr HRESULT HresultFromErrno(int code) { return 0x80070000u | (static_cast<std::uint32_t>(code) & 0xFFFF); }

constexpr HRESULT S_OK = 0;
constexpr HRESULT E_NOTIMPL = 0x80004001;
constexpr HRESULT E_POINTER = 0x80004003;
constexpr HRESULT E_ABORT = 0x80004004;
constexpr HRESULT E_FAIL = 0x80004005;
constexpr HRESULT E_OUTOFMEMORY = 0x8007000E;
constexpr HRESULT E_INVALIDARG = 0x80070057;
constexpr HRESULT DISP_E_MEMBERNOTFOUND = 0x80020003;
constexpr HRESULT DISP_E_TYPEMISMATCH = 0x80020005;
constexpr HRESULT DISP_E_UNKNOWNNAME = 0x80020006;
constexpr HRESULT DISP_E_BADINDEX = 0x8002000B;
constexpr HRESULT DISP_E_BADPARAMCOUNT = 0x8002000E;
constexpr HRESULT STG_E_FILENOTFOUND = 0x80030002;
constexpr HRESULT REGDB_E_CLASSNOTREG = 0x80040154;
constexpr HRESULT CO_E_CLASSSTRING = 0x800401F3;
constexpr HRESULT CO_E_SERVER_EXEC_FAILURE = 0x80080005;
constexpr HRESULT RPC_E_DISCONNECTED = 0x80010108;

// Failures of the office behind "Word.Application" (interface-specific codes of its own).
constexpr HRESULT OFFICE_E_NOT_RESPONDING = 0x80040201;
constexpr HRESULT OFFICE_E_ENDED = 0x80040202;
constexpr HRESULT OFFICE_E_PASSWORD = 0x80040203;
constexpr HRESULT OFFICE_E_UNKNOWN_FORMAT = 0x80040204;
constexpr HRESULT OFFICE_E_DAMAGED = 0x80040205;
constexpr HRESULT OFFICE_E_READ = 0x80040206;
constexpr HRESULT OFFICE_E_WRITE = 0x80040207;
constexpr HRESULT OFFICE_E_FAILED = 0x80040208;
constexpr HRESULT OFFICE_E_ACCESS = 0x80040209;
constexpr HRESULT OFFICE_E_EMPTY = 0x8004020A;
constexpr HRESULT OFFICE_E_NOT_DOCUMENT = 0x8004020B;

// The description of a known HRESULT, or nothing.
std::optional<std::string_view> DescribeHresult(HRESULT hr);

} // namespace wordstrip
