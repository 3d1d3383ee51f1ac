#include "text/FormatText.h"

#include "text/Cp866.h"
#include "text/ParagraphFlush.h"
#include "text/PostProcess.h"
#include "text/QuotesAndDashes.h"
#include "text/TextTrims.h"
#include "text/TypographyChars.h"

#include <cstdint>
#include <cstring>
#include <string_view>

namespace folio {
namespace {

struct LineScan {
    size_t ellipses = 0;
    bool lineBreak = false;
};

// High bit set in each byte of `word` equal to `byte` (exact: no carries between bytes).
inline uint64_t BytesEqual(uint64_t word, unsigned char byte)
{
    constexpr uint64_t kLow7 = 0x7F7F7F7F7F7F7F7FULL;
    const uint64_t x = word ^ (0x0101010101010101ULL * byte);
    return ~(((x & kLow7) + kLow7) | x | kLow7);
}

// Eight bytes at a time: almost every line holds neither "…" nor a line break.
LineScan ScanLine(std::string_view s)
{
    const char* p = s.data();
    const size_t n = s.size();
    uint64_t hits = 0;
    size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        uint64_t w;
        std::memcpy(&w, p + i, 8);
        hits |= BytesEqual(w, 0x85) | BytesEqual(w, '\r') | BytesEqual(w, '\n');
    }
    for (; i < n; ++i) hits |= p[i] == kEllipsis || p[i] == '\r' || p[i] == '\n';
    LineScan scan;
    if (hits == 0) return scan;
    for (char c : s) {
        scan.ellipses += c == kEllipsis;
        scan.lineBreak |= c == '\r' || c == '\n';
    }
    return scan;
}

// The source lines as the main loop sees them: recoded from cp866 when asked, every "…"
// written as "...", and lines holding CR or LF split there, as if the text had been joined
// with CR LF and split again. Lines needing none of this are viewed in place; the others
// are written once into one arena, sized before the first write so views stay valid.
class SourceLines {
public:
    SourceLines(std::span<const std::string> input, bool recode)
    {
        // Recoded text holds no "…" (no cp866 byte maps to it), so its size is the input's.
        std::vector<bool> rewrite(input.size(), recode);
        size_t arenaSize = 0;
        for (size_t i = 0; i < input.size(); ++i) {
            const std::string& line = input[i];
            if (recode) {
                arenaSize += line.size();
                continue;
            }
            const LineScan scan = ScanLine(line);
            if (scan.ellipses > 0 || scan.lineBreak) {
                rewrite[i] = true;
                arenaSize += line.size() + 2 * scan.ellipses;
            }
        }
        arena_.reserve(arenaSize);
        lines_.reserve(input.size());
        for (size_t i = 0; i < input.size(); ++i) {
            const std::string& line = input[i];
            if (!rewrite[i]) {
                lines_.emplace_back(line);
                continue;
            }
            const size_t start = arena_.size();
            for (char c : line) {
                if (recode) c = static_cast<char>(Cp866ToCp1251Byte(static_cast<unsigned char>(c)));
                if (c == kEllipsis) arena_.append("...");
                else arena_.push_back(c);
            }
            AddSplit(std::string_view(arena_).substr(start));
        }
    }

    size_t size() const { return lines_.size(); }
    std::string_view operator[](size_t i) const { return lines_[i]; }

private:
    // Each CR LF, CR or LF ends a line; the part after the last one is a line too (possibly
    // empty), since the joining CR LF still follows it.
    void AddSplit(std::string_view s)
    {
        size_t begin = 0;
        for (size_t i = 0; i < s.size(); ++i) {
            if (s[i] != '\r' && s[i] != '\n') continue;
            lines_.push_back(s.substr(begin, i - begin));
            if (s[i] == '\r' && i + 1 < s.size() && s[i + 1] == '\n') ++i;
            begin = i + 1;
        }
        lines_.push_back(s.substr(begin));
    }

    std::string arena_;
    std::vector<std::string_view> lines_;
};

bool HasVisibleChar(std::string_view s)
{
    for (char c : s)
        if (static_cast<unsigned char>(c) > 0x20) return true;
    return false;
}

bool EndsSentence(char c) { return c == '.' || c == '!' || c == '?'; }

// Gathers paragraphs and flushes them into the output; owns all state of one run.
class ParagraphRun {
public:
    explicit ParagraphRun(const FormatOptions& options) : options_(options) { buffer_.reserve(1024); }

    // Returns false on the probe stop.
    bool Run(const SourceLines& source)
    {
        const size_t count = source.size();
        output_.reserve(count / 2 + 1);
        for (size_t i = 0; i < count; ++i) {
            std::string_view line = source[i];
            if (TrimLeftBlanks(line).empty()) {
                if (!buffer_.empty()) Flush();
                output_.emplace_back();
                afterBlank_ = true;
                continue;
            }
            line = TrimRightSpaces(line);
            if (IsBlank(line.front()) && !buffer_.empty()) {
                Flush();
                ++indents_;
                if (indents_ > 3 && options_.ProbeIndents && options_.SentenceBreaks) return false;
            }
            if (options_.AfterEmptyLine && afterBlank_ && !buffer_.empty()) Flush();
            if (buffer_.size() < 35 && HasVisibleChar(buffer_)) Flush();
            buffer_ += ' ';
            buffer_.append(line);
            if (options_.SentenceBreaks && EndsSentence(buffer_.back()) && i + 1 < count) {
                const std::string_view next = TrimLeftBlanks(source[i + 1]);
                if (next.empty() || !IsSmallLetter(next.front())) Flush();
            }
        }
        if (!buffer_.empty()) Flush();
        return true;
    }

    bool ManyIndents() const { return indents_ > 3; }
    std::vector<std::string>& Output() { return output_; }

private:
    void Flush()
    {
        afterBlank_ = false;
        output_.push_back(FlushParagraph(buffer_, marks_));
        buffer_.clear();
    }

    const FormatOptions& options_;
    std::string buffer_;
    std::vector<uint32_t> marks_;
    bool afterBlank_ = false;
    int indents_ = 0;
    std::vector<std::string> output_;
};

} // namespace

FormatResult FormatText(std::span<const std::string> lines, const FormatOptions& options)
{
    FormatResult result;
    if (lines.empty()) return result;

    ParagraphRun run(options);
    const bool completed = run.Run(SourceLines(lines, options.RecodeCp866));
    result.lines = std::move(run.Output());
    if (!completed) {
        result.ManyIndents = true;
        return result;
    }
    result.ManyIndents = run.ManyIndents();

    // The dash pass over the joined text. Its quote step finds nothing: every flushed line
    // has been through the quote pass already, and no pattern spans a line break, so the
    // three hyphen replace-alls can run line by line.
    for (std::string& line : result.lines) ReplaceSpacedHyphens(line);

    if (options.PostProcess) result.lines = PostProcessLines(std::move(result.lines));
    return result;
}

} // namespace folio
