#pragma once
// A slow, literal transcription of the engine's rules: every replace-all run one after the
// other on whole strings, the text joined and split again where the rules say so. The fast
// engine fuses these passes; the tests and the fuzz target compare the two.

#include "text/Cp866.h"
#include "text/TextTrims.h"

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace reference {

inline std::string ReplaceAll(std::string_view s, std::string_view from, std::string_view to)
{
    std::string out;
    size_t pos = 0;
    for (;;) {
        const size_t hit = s.find(from, pos);
        if (hit == std::string_view::npos) break;
        out.append(s.substr(pos, hit - pos));
        out.append(to);
        pos = hit + from.size();
    }
    out.append(s.substr(pos));
    return out;
}

inline std::vector<std::string> Split(std::string_view text)
{
    std::vector<std::string> lines;
    std::string cur;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            lines.push_back(cur);
            cur.clear();
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            cur += text[i];
        }
    }
    if (!cur.empty()) lines.push_back(cur);
    return lines;
}

inline std::string Join(std::span<const std::string> lines)
{
    std::string text;
    for (const auto& l : lines) text += l + "\r\n";
    return text;
}

inline std::string ConvertQuotes(std::string s)
{
    const std::pair<std::string_view, std::string_view> steps[] = {
        {"\x93", "\xAB"}, {"\x94", "\xBB"}, {" \"", " \xAB"}, {"\" ", "\xBB "}, {" `", " \xAB"},
        {"` ", "\xBB "}, {"\",", "\xBB,"}, {"\".", "\xBB."}, {"`,", "\xBB,"}, {"`.", "\xBB."},
    };
    for (const auto& [from, to] : steps) s = ReplaceAll(s, from, to);
    size_t open = std::string::npos;
    for (size_t i = 0; i < s.size(); ++i) {
        if (s[i] != '"' && s[i] != '`') continue;
        if (open == std::string::npos) {
            open = i;
        } else {
            s[open] = '\xAB';
            s[i] = '\xBB';
            open = std::string::npos;
        }
    }
    if (open != std::string::npos) s[open] = '\xBB';
    return s;
}

inline std::string ConvertDashes(std::string s)
{
    s = ReplaceAll(s, " - ", " \x97 ");
    s = ReplaceAll(s, "- ", "\x97 ");
    s = ReplaceAll(s, " -", " \x97");
    return ConvertQuotes(s);
}

inline std::string Flush(const std::string& buffer)
{
    std::string b = buffer;
    if (!b.empty()) {
        std::string t(folio::TrimLeftBlanks(b));
        t = ReplaceAll(t, "--", "-");
        t = ReplaceAll(t, "\x97", "-");
        if (t.size() >= 2) {
            std::string r(1, t[0]);
            for (size_t j = 1; j < t.size(); ++j) {
                const char c = t[j] == '\t' ? ' ' : t[j];
                const char prev = t[j - 1] == '\t' ? ' ' : t[j - 1];
                if (c == ' ' && prev == ' ') continue;
                r += c;
            }
            b = "   " + r;
        }
    }
    b = ConvertQuotes(b);
    b = ReplaceAll(b, "-", "--");
    b = ReplaceAll(b, " -- ", " - ");
    b = ReplaceAll(b, "-- ", "");
    b = ReplaceAll(b, "--", "-");
    return b;
}

inline bool OneOf(char c, std::string_view set) { return set.find(c) != std::string_view::npos; }

inline std::vector<std::string> PostProcess(const std::vector<std::string>& d)
{
    std::vector<std::string> r;
    const size_t n = d.size();
    if (n == 0) return r;
    std::string a = "  ";
    bool lastConsumed = false;
    for (size_t k = 0; k + 1 < n;) {
        if (a.size() > 40 && d[k].size() < 4 && folio::Trim(d[k]).empty()) {
            r.push_back(a);
            a = "  ";
        }
        size_t p = std::string::npos;
        for (std::string_view pat : {".-", "!-", "?-", ".\x97", "!\x97", "?\x97"}) {
            p = d[k].find(pat);
            if (p != std::string::npos) break;
        }
        if (p != std::string::npos) {
            if (folio::Trim(a).empty()) a = "  ";
            a += " " + std::string(folio::Trim(std::string_view(d[k]).substr(0, p + 1)));
            r.push_back(a);
            a = "   \x97 " + std::string(folio::Trim(std::string_view(d[k]).substr(p + 2)));
        } else {
            a += " " + std::string(folio::Trim(d[k]));
        }
        if (d[k].size() > 35 && !folio::Trim(d[k + 1]).empty() && !d[k].empty() &&
            !OneOf(d[k].back(), ".!?;:\x97-")) {
            const std::string_view next = folio::TrimLeftBlanks(d[k + 1]);
            if (!next.empty() && next[0] != '\x97') {
                a += " " + std::string(folio::Trim(d[k + 1]));
                ++k;
                if (k == n - 1) lastConsumed = true;
                if (OneOf(a.back(), ".!?;:")) {
                    r.push_back(a);
                    a = "  ";
                }
            }
        } else {
            r.push_back(a);
            a = "  ";
        }
        ++k;
    }
    if (!folio::Trim(a).empty()) r.push_back(a);
    if (!lastConsumed) r.push_back(d[n - 1]);
    return r;
}

struct Options {
    bool afterEmptyLine = false, recodeCp866 = false, sentenceBreaks = false, probeIndents = false,
         postProcess = false;
};

struct Result {
    std::vector<std::string> lines;
    bool manyIndents = false;
    bool probeStopped = false;
    size_t flushes = 0;
    size_t blankLines = 0;
};

inline Result FormatText(const std::vector<std::string>& input, const Options& o)
{
    Result res;
    if (input.empty()) return res;
    std::vector<std::string> src = input;
    if (o.recodeCp866)
        for (auto& l : src) l = folio::Cp866ToCp1251(l);
    src = Split(ReplaceAll(Join(src), "\x85", "..."));

    std::vector<std::string> out;
    std::string buffer;
    bool afterBlank = false;
    int indents = 0;
    auto flush = [&] {
        afterBlank = false;
        out.push_back(Flush(buffer));
        buffer.clear();
        ++res.flushes;
    };
    for (size_t i = 0; i < src.size(); ++i) {
        std::string l = src[i];
        if (folio::TrimLeftBlanks(l).empty()) {
            if (!buffer.empty()) flush();
            out.emplace_back();
            ++res.blankLines;
            afterBlank = true;
            continue;
        }
        l = std::string(folio::TrimRightSpaces(l));
        if ((l[0] == ' ' || l[0] == '\t') && !buffer.empty()) {
            flush();
            ++indents;
            if (indents > 3 && o.probeIndents && o.sentenceBreaks) {
                res.lines = out;
                res.manyIndents = true;
                res.probeStopped = true;
                return res;
            }
        }
        if (o.afterEmptyLine && afterBlank && !buffer.empty()) flush();
        if (buffer.size() < 35 && !folio::Trim(buffer).empty()) flush();
        buffer += " " + l;
        if (o.sentenceBreaks && OneOf(buffer.back(), ".!?") && i + 1 < src.size()) {
            const std::string_view next = folio::TrimLeftBlanks(src[i + 1]);
            const unsigned char c = next.empty() ? 0 : static_cast<unsigned char>(next[0]);
            const bool small = (c >= 'a' && c <= 'z') || c >= 0xE0;
            if (next.empty() || !small) flush();
        }
    }
    if (!buffer.empty()) flush();
    res.manyIndents = indents > 3;
    out = Split(ConvertDashes(Join(out)));
    if (o.postProcess) out = PostProcess(out);
    res.lines = out;
    return res;
}

} // namespace reference
