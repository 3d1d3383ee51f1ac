#pragma once
// foliotext's command line.

#include "text/FormatText.h"
#include "text/ParagraphMode.h"

#include <optional>
#include <span>
#include <string>

namespace foliotext {

struct Options {
    folio::FormatOptions format;
    std::optional<folio::ParagraphMode> mode; // set by --mode; decides sentence breaks and probe
    bool autoRecode = false;
    bool detect = false;
    bool stats = false;
    bool utf8 = false;
    bool help = false;
    std::optional<std::string> translit;
    std::optional<std::string> before; // replacement table applied to the lines before the engine
    std::optional<std::string> after;  // ...and to the engine's lines
    std::optional<std::string> input; // none: standard input
    std::optional<std::string> output; // none: standard output
};

struct ParsedCommandLine {
    Options options;
    std::string error; // one line, empty when the command line is good
};

ParsedCommandLine ParseCommandLine(std::span<const std::string> args);

extern const char* const kUsage;

} // namespace foliotext
