#pragma once
// Reader of the engine's case files (see cases/format-text.txt for the layout).

#include "text/Cp1251.h"
#include "text/Cp866.h"
#include "text/FormatText.h"

#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace textcases {

struct FormatCase {
    std::string name;
    folio::FormatOptions options;
    std::optional<bool> manyIndents;
    std::vector<std::string> input;    // cp1251, or cp866 when the case asks for it
    std::vector<std::string> expected; // cp1251
};

inline std::string Replace(std::string s, const std::string& from, const std::string& to)
{
    for (size_t p = s.find(from); p != std::string::npos; p = s.find(from, p + to.size()))
        s.replace(p, from.size(), to);
    return s;
}

// UTF-8 case text to cp1251, with the markers for tab and trailing space resolved.
inline std::string CaseLine(const std::string& utf8)
{
    return folio::cp1251::FromUtf8(Replace(Replace(utf8, "→", "\t"), "␣", " "));
}

inline std::string ToCp866(const std::string& cp1251Text)
{
    std::string out;
    for (char c : cp1251Text) {
        char encoded = c;
        for (int b = 0; b < 256; ++b)
            if (static_cast<unsigned char>(b) >= 0x80 &&
                folio::Cp866ToCp1251Byte(static_cast<unsigned char>(b)) == static_cast<unsigned char>(c)) {
                encoded = static_cast<char>(b);
                break;
            }
        out += encoded;
    }
    return out;
}

inline void SetOption(folio::FormatOptions& o, const std::string& word)
{
    if (word == "after-empty-line") o.AfterEmptyLine = true;
    else if (word == "recode-cp866") o.RecodeCp866 = true;
    else if (word == "sentence-breaks") o.SentenceBreaks = true;
    else if (word == "probe-indents") o.ProbeIndents = true;
    else if (word == "post-process") o.PostProcess = true;
    else throw std::runtime_error("unknown option in case file: " + word);
}

inline std::vector<FormatCase> ReadFormatCases(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    if (!in) throw std::runtime_error("cannot open " + file.string());
    std::vector<FormatCase> cases;
    enum { Header, Input, Output } part = Header;
    bool cp866Input = false;
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("=== ", 0) == 0) {
            cases.push_back({});
            cases.back().name = line.substr(4);
            part = Header;
            cp866Input = false;
        } else if (cases.empty() || (part == Header && line.rfind('#', 0) == 0)) {
            continue;
        } else if (line == "--- input") {
            part = Input;
        } else if (line == "--- output") {
            part = Output;
        } else if (part == Header) {
            FormatCase& c = cases.back();
            if (line.rfind("options:", 0) == 0) {
                std::istringstream words(line.substr(8));
                for (std::string w; words >> w;) SetOption(c.options, w);
            } else if (line.rfind("many-indents:", 0) == 0) {
                c.manyIndents = line.find("yes") != std::string::npos;
            } else if (line == "input-encoding: cp866") {
                cp866Input = true;
            } else {
                throw std::runtime_error("bad header line in case " + c.name + ": " + line);
            }
        } else if (part == Input) {
            const std::string l = CaseLine(line);
            cases.back().input.push_back(cp866Input ? ToCp866(l) : l);
        } else {
            cases.back().expected.push_back(CaseLine(line));
        }
    }
    return cases;
}

} // namespace textcases
