#pragma once
// The converter's single record of options, filled once from the command line and then only
// read (apart from the two Word objects, held for the whole run).

#include "automation/Dispatch.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace wordstrip {

namespace flag {
constexpr std::uint32_t Stdout = 0x1;           // -s
constexpr std::uint32_t OrigDir = 0x2;          // -O
constexpr std::uint32_t AppendExtension = 0x4;  // -E
constexpr std::uint32_t Recursive = 0x8;        // -r
constexpr std::uint32_t NoCygwinPath = 0x10;    // -c
constexpr std::uint32_t Overwrite = 0x100;      // -w
constexpr std::uint32_t SkipExisting = 0x200;   // -k
constexpr std::uint32_t ExitOnWarning = 0x1000; // -W
constexpr std::uint32_t Quiet = 0x2000;         // -q
constexpr std::uint32_t Debug = 0x4000;         // -D
constexpr std::uint32_t RemoveStyle = 0x10000;  // -S
constexpr std::uint32_t RemoveComment = 0x20000; // -C
} // namespace flag

struct ConvertOptions {
    std::uint32_t flags = 0;
    int formatIndex = -1;                 // -1 until -f is seen
    std::optional<std::string> progId;    // -P as given
    std::shared_ptr<DispatchObject> application;
    std::shared_ptr<DispatchObject> documents;
    std::string outputFolder;             // with its trailing separator; empty under -O
    std::string outputExtension;          // with its dot

    bool Has(std::uint32_t f) const { return (flags & f) != 0; }
};

} // namespace wordstrip
