#include "MessageFormat.h"

#include <cstdint>
#include <cstdio>

namespace wordstrip {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Applies one conversion such as "08x" to an insert. Only the conversions an insert can carry
// are accepted; anything else makes the whole format unfillable.
std::optional<std::string> Convert(std::string_view directive, const Insert& value)
{
    size_t i = 0;
    std::string flags;
    while (i < directive.size() && std::string_view("-+ #0").find(directive[i]) != std::string_view::npos)
        flags += directive[i++];
    std::string width;
    while (i < directive.size() && IsDigit(directive[i])) width += directive[i++];
    std::string precision;
    if (i < directive.size() && directive[i] == '.') {
        precision = ".";
        ++i;
        while (i < directive.size() && IsDigit(directive[i])) precision += directive[i++];
    }
    // Length prefixes are accepted and ignored: the insert carries its own width.
    while (i < directive.size() && (directive[i] == 'l' || directive[i] == 'h' || directive[i] == 'I' || directive[i] == '6' || directive[i] == '4'))
        ++i;
    if (i + 1 != directive.size()) return std::nullopt;
    if (width.size() > 3 || precision.size() > 4) return std::nullopt;
    const char conversion = directive[i];
    const std::string head = "%" + flags + width + precision;

    char buffer[1100];
    int n = -1;
    switch (conversion) {
    case 'd':
    case 'i':
        if (auto* v = std::get_if<long long>(&value)) n = std::snprintf(buffer, sizeof buffer, (head + "lld").c_str(), *v);
        break;
    case 'u':
    case 'x':
    case 'X':
    case 'o':
        if (auto* v = std::get_if<long long>(&value)) {
            const unsigned long long bits = static_cast<std::uint32_t>(*v);
            n = std::snprintf(buffer, sizeof buffer, (head + "ll" + conversion).c_str(), bits);
        }
        break;
    case 'c':
        if (auto* v = std::get_if<char>(&value)) {
            // A NUL character stands for "no letter": nothing is inserted rather than a byte
            // that would cut the message short.
            if (*v == '\0') return std::string();
            n = std::snprintf(buffer, sizeof buffer, (head + "c").c_str(), *v);
        }
        break;
    case 's':
        if (auto* v = std::get_if<std::string_view>(&value)) {
            if (flags.empty() && width.empty() && precision.empty()) return std::string(*v);
            const std::string copy(*v);
            std::string out(copy.size() + 1100, '\0');
            n = std::snprintf(out.data(), out.size(), (head + "s").c_str(), copy.c_str());
            if (n < 0) return std::nullopt;
            out.resize(static_cast<size_t>(n) < out.size() ? static_cast<size_t>(n) : out.size() - 1);
            return out;
        }
        break;
    default:
        break;
    }
    if (n < 0 || static_cast<size_t>(n) >= sizeof buffer) return std::nullopt;
    return std::string(buffer, static_cast<size_t>(n));
}

} // namespace

std::optional<std::string> FormatMessageText(std::string_view format, std::span<const Insert> inserts)
{
    std::string out;
    size_t i = 0;
    while (i < format.size()) {
        const char c = format[i++];
        if (c != '%') {
            out += c;
            continue;
        }
        if (i >= format.size()) return std::nullopt;
        const char e = format[i++];
        switch (e) {
        case 'n': out += '\n'; continue;
        case 'r': out += '\r'; continue;
        case 't': out += '\t'; continue;
        case ' ': out += ' '; continue;
        case '.': out += '.'; continue;
        case '!': out += '!'; continue;
        case '%': out += '%'; continue;
        case '0': return out;
        default: break;
        }
        if (!IsDigit(e)) return std::nullopt;
        size_t number = static_cast<size_t>(e - '0');
        if (i < format.size() && IsDigit(format[i])) number = number * 10 + static_cast<size_t>(format[i++] - '0');
        if (number == 0 || number > inserts.size()) return std::nullopt;
        std::string_view directive = "s";
        if (i < format.size() && format[i] == '!') {
            const size_t close = format.find('!', i + 1);
            if (close == std::string_view::npos) return std::nullopt;
            directive = format.substr(i + 1, close - i - 1);
            i = close + 1;
        }
        auto piece = Convert(directive, inserts[number - 1]);
        if (!piece) return std::nullopt;
        out += *piece;
    }
    return out;
}

} // namespace wordstrip
