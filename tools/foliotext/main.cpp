// foliotext: the book-text engine without the window, for people and scripts.
#include "BookWriter.h"
#include "CommandLine.h"
#include "FileIo.h"

#include "io/Error.h"
#include "project/ReplacementRows.h"
#include "replace/ReplacementTable.h"
#include "text/Cp1251.h"
#include "text/DetectCp1251.h"
#include "text/FormatText.h"
#include "text/ParagraphMode.h"
#include "text/TextLines.h"
#include "text/Transliterate.h"

#include <cstdio>
#include <unistd.h>
#include <string>
#include <vector>

namespace {

constexpr int kOk = 0;
constexpr int kIoError = 1;
constexpr int kUsageError = 2;

void Message(const std::string& text) { std::fprintf(stderr, "foliotext: %s\n", text.c_str()); }

int UsageError(const std::string& text)
{
    Message(text);
    std::fputs("Try 'foliotext --help' for more information.\n", stderr);
    return kUsageError;
}

int PrintLine(const std::string& text)
{
    std::string reason;
    const std::string line = text + "\n";
    if (foliotext::WriteAll(STDOUT_FILENO, line.data(), line.size(), reason)) return kOk;
    Message("cannot write standard output: " + reason);
    return kIoError;
}

// Applies a replacement table's rows to the lines as the workbench does. The table file is
// only read, never written back.
void ApplyTable(const std::string& table, std::vector<std::string>& lines)
{
    const std::vector<folio::ReplacementRow> rows = folio::ReadReplacementRows(table);
    folio::ApplyReplacementRows(lines, rows);
}

} // namespace

int main(int argc, char** argv)
{
    using namespace foliotext;
    const std::vector<std::string> args(argv + 1, argv + argc);
    const ParsedCommandLine parsed = ParseCommandLine(args);
    if (!parsed.error.empty()) return UsageError(parsed.error);
    const Options& o = parsed.options;

    std::string reason;
    if (o.help) {
        if (WriteAll(STDOUT_FILENO, kUsage, std::char_traits<char>::length(kUsage), reason)) return kOk;
        Message("cannot write standard output: " + reason);
        return kIoError;
    }
    if (o.translit) {
        const std::string text = o.utf8 ? folio::cp1251::FromUtf8(*o.translit) : *o.translit;
        return PrintLine(folio::TransliterateText(text));
    }

    std::string input;
    if (!(o.input ? ReadFile(*o.input, input, reason) : ReadStdin(input, reason))) {
        Message("cannot read " + (o.input ? "'" + *o.input + "'" : std::string("standard input")) + ": " +
                reason);
        return kIoError;
    }
    if (o.utf8) input = folio::cp1251::FromUtf8(input);
    if (o.detect) return PrintLine(folio::DetectCp1251(input) ? "cp1251" : "cp866");

    folio::FormatOptions format = o.format;
    if (o.autoRecode && !folio::DetectCp1251(input)) format.RecodeCp866 = true;
    folio::FormatResult result;
    try {
        if (o.before) {
            // The table may join or split lines: it works on lines of its own.
            std::vector<std::string> lines = folio::SplitTextLines(input);
            std::string().swap(input);
            ApplyTable(*o.before, lines);
            result = o.mode ? folio::FormatTextInMode(lines, *o.mode, format) : folio::FormatText(lines, format);
        } else {
            // The engine reads the lines in place; text and views go as soon as it is done.
            const std::vector<std::string_view> lines = folio::SplitTextLineViews(input);
            result = o.mode ? folio::FormatTextViewsInMode(lines, *o.mode, format)
                            : folio::FormatTextViews(lines, format);
            std::string().swap(input);
        }
        if (o.after) ApplyTable(*o.after, result.lines);
    } catch (const folio::Error& e) {
        Message(e.what());
        return kIoError;
    }

    const auto write = [&](int fd, std::string& why) { return WriteBookLines(fd, result.lines, o.utf8, why); };
    const bool written = o.output ? WriteFileAtomically(*o.output, write, reason) : write(STDOUT_FILENO, reason);
    if (!written) {
        Message("cannot write " + (o.output ? "'" + *o.output + "'" : std::string("standard output")) + ": " +
                reason);
        return kIoError;
    }
    if (o.stats) std::fprintf(stderr, "many-indents: %s\n", result.ManyIndents ? "yes" : "no");
    return kOk;
}
