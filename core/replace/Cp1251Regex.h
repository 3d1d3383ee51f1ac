#pragma once
// Regular expressions over cp1251 text (PCRE2, 8-bit), set up the way the editors' replacement
// tables expect them:
//   - "." matches line breaks too; "^" and "$" match only at the very start and the very end of
//     the whole text ("$" not before a final line break); (?s), (?m) and the like still work
//     inline, with CR, LF and CR LF as line ends;
//   - matching is case-sensitive and greedy by default; (?i) folds every cp1251 letter pair,
//     Russian а/А … я/Я and ё/Ё included;
//   - \w, \d, \b know only ASCII (digits, Latin letters, underscore); \s is space, TAB, LF, CR
//     and form feed;
//   - the ranges а-я and А-Я inside a character class also take ё and Ё;
//   - the replacement value is inserted as it stands: "$1", "\1", "\n" are plain characters.

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace folio::regex {

// The PCRE2 character tables for cp1251: lower-case and flip-case maps from the cp1251 case
// rules, character classes and types of plain ASCII (\s without VT). Built once, never freed.
const unsigned char* Cp1251Tables();

// The pattern with ё added to every class range а-я and Ё to every range А-Я (the ranges
// written with literal letters or \xHH / \x{HH} escapes). Nothing outside a class changes,
// nor escaped brackets, \Q…\E text, comments or verbs. When `inserted` is given, it receives
// the positions in the result of the bytes that were put in, in increasing order.
std::string WidenRussianRanges(std::string_view pattern, std::vector<size_t>* inserted = nullptr);

// One compiled expression. Compiling fails with folio::Error naming the expression, PCRE2's
// reason and the position in the expression; a failing match (a match or memory limit hit)
// fails with folio::Error too. An object can be used by one thread at a time.
class Expression {
public:
    explicit Expression(std::string_view pattern);
    ~Expression();
    Expression(const Expression&) = delete;
    Expression& operator=(const Expression&) = delete;

    // The text with every match replaced by `value`, unchanged: matches are taken left to
    // right without overlap and what was put in is never searched again. After an empty match
    // the search tries a non-empty match at the same place, else moves on by one character
    // (CR LF counts as one) - the rule of PCRE2's own global substitution, so it always ends.
    std::string ReplaceAll(std::string_view text, std::string_view value) const;

    const std::string& Pattern() const { return pattern_; }
    // True when PCRE2's JIT compiler took the expression (matching falls back to the
    // interpreter otherwise).
    bool Jitted() const { return jitted_; }

private:
    struct Code;
    std::string pattern_;
    std::unique_ptr<Code> code_;
    bool jitted_ = false;
};

} // namespace folio::regex
