#include "text/FormatText.h"

#include "text/Cp866.h"
#include "text/ParagraphFlush.h"
#include "text/PostProcess.h"
#include "text/QuotesAndDashes.h"
#include "text/TextTrims.h"
#include "text/TypographyChars.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
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
// with CR LF and split again. Prepared on demand, one line ahead of the loop, so that a probe
// run that stops early pays only for what it read. Lines needing no change are viewed in
// place; the others are written into arena blocks that never move.
template <class Line>
class SourceLines {
public:
    SourceLines(std::span<const Line> input, bool recode) : input_(input), recode_(recode)
    {
        lines_.reserve(kWindow + 16);
    }

    // True when line i exists (preparing it if needed). Lines are asked for in order; the
    // ones before i are forgotten once they are many and at least half of those held (one
    // input line full of line breaks can bring thousands at once), so dropping stays linear.
    bool Has(size_t i)
    {
        if (i - base_ >= kWindow && 2 * (i - base_) >= lines_.size()) {
            lines_.erase(lines_.begin(), lines_.begin() + static_cast<std::ptrdiff_t>(i - base_));
            base_ = i;
        }
        while (base_ + lines_.size() <= i && next_ < input_.size()) Prepare(input_[next_++]);
        return i < base_ + lines_.size();
    }
    std::string_view operator[](size_t i) const { return lines_[i - base_]; }

private:
    void Prepare(std::string_view line)
    {
        if (recode_) {
            // Recoded text holds no "…" (no cp866 byte maps to it): same length.
            // Bytes below 80 stay, so the line breaks are where they were.
            char* out = Allocate(line.size());
            Cp866ToCp1251Copy(line, out);
            if (ScanLine(line).lineBreak) AddSplit({out, line.size()});
            else lines_.emplace_back(out, line.size());
            return;
        }
        const LineScan scan = ScanLine(line);
        if (scan.ellipses == 0 && !scan.lineBreak) {
            lines_.emplace_back(line);
            return;
        }
        const size_t size = line.size() + 2 * scan.ellipses;
        char* out = Allocate(size);
        char* o = out;
        for (char c : line) {
            if (c == kEllipsis) {
                o[0] = o[1] = o[2] = '.';
                o += 3;
            } else {
                *o++ = c;
            }
        }
        AddSplit({out, size});
    }

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

    char* Allocate(size_t size)
    {
        if (size > left_) {
            const size_t block = std::max<size_t>(size, 1 << 16);
            blocks_.push_back(std::make_unique<char[]>(block));
            free_ = blocks_.back().get();
            left_ = block;
        }
        char* p = free_;
        free_ += size;
        left_ -= size;
        return p;
    }

    static constexpr size_t kWindow = 4096;

    std::span<const Line> input_;
    bool recode_;
    size_t next_ = 0;                    // next input line to prepare
    size_t base_ = 0;                    // index of lines_[0]
    std::vector<std::string_view> lines_;
    std::vector<std::unique_ptr<char[]>> blocks_;
    char* free_ = nullptr;
    size_t left_ = 0;
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
    ParagraphRun(const FormatOptions& options, size_t inputLines) : options_(options)
    {
        buffer_.reserve(1024);
        output_.reserve(inputLines / 4 + 1);
    }

    // Returns false on the probe stop.
    template <class Line>
    bool Run(SourceLines<Line>& source)
    {
        for (size_t i = 0; source.Has(i); ++i) {
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
            if (options_.SentenceBreaks && EndsSentence(buffer_.back()) && source.Has(i + 1)) {
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
    size_t indents_ = 0;
    std::vector<std::string> output_;
};

template <class Line>
FormatResult FormatLines(std::span<const Line> lines, const FormatOptions& options)
{
    FormatResult result;
    if (lines.empty()) return result;

    ParagraphRun run(options, lines.size());
    SourceLines<Line> source(lines, options.RecodeCp866);
    const bool completed = run.Run(source);
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

} // namespace

FormatResult FormatText(const std::vector<std::string>& lines, const FormatOptions& options)
{
    return FormatLines(std::span<const std::string>(lines), options);
}

FormatResult FormatTextViews(std::span<const std::string_view> lines, const FormatOptions& options)
{
    return FormatLines(lines, options);
}

} // namespace folio
