#include "CommandLine.h"

namespace foliotext {

const char* const kUsage =
    "Usage: foliotext [options] [FILE]\n"
    "Formats a Russian text with the paragraph and typography engine. Reads FILE (or standard\n"
    "input) as cp1251, writes the book lines, each ended by CR LF, to standard output.\n"
    "\n"
    "  -o OUT              write to OUT instead (replaced whole, never left half-written)\n"
    "  --after-empty-line  the first line after blank lines is a paragraph of its own\n"
    "  --recode-cp866      recode the input from cp866 first\n"
    "  --auto-recode       recode from cp866 when the input does not look like cp1251\n"
    "  --sentence-breaks   a line ending a sentence ends the paragraph, unless the next\n"
    "                      line begins with a small letter\n"
    "  --probe-indents     stop once more than three indented paragraphs were found\n"
    "  --post-process      rejoin long lines and split glued dialogue at the end\n"
    "  --mode auto|on|off  paragraph mode instead of the two options above: on = sentence\n"
    "                      breaks, off = none, auto = sentence breaks unless the text has\n"
    "                      many indented paragraphs\n"
    "  --before TABLE      apply the replacement table TABLE (a \".tbl\" file with the\n"
    "                      columns \"expression\" and \"value\") to the lines before the engine\n"
    "  --after TABLE       apply TABLE to the engine's lines\n"
    "  --stats             write \"many-indents: yes\" or \"many-indents: no\" (the answer of the\n"
    "                      run whose output is written) to standard error\n"
    "  --detect            print \"cp1251\" or \"cp866\" for the input and stop\n"
    "  --utf8              read and write UTF-8 instead of cp1251 (also for --translit)\n"
    "  --translit TEXT     print the transliteration of TEXT (cp1251, or UTF-8 with --utf8)\n"
    "  --help              print this help\n"
    "\n"
    "Exit status: 0 on success, 1 when the input or a table cannot be read, an expression\n"
    "of a table does not compile or the output cannot be written, 2 on a usage error.\n";

namespace {

bool TakeValue(std::span<const std::string> args, size_t& i, const std::string& name,
               std::string& value, std::string& error)
{
    const std::string& arg = args[i];
    if (arg.size() > name.size() && arg.compare(0, name.size(), name) == 0 && arg[name.size()] == '=') {
        value = arg.substr(name.size() + 1);
        return true;
    }
    if (i + 1 >= args.size()) {
        error = "option '" + name + "' needs an argument";
        return false;
    }
    value = args[++i];
    return true;
}

bool IsOption(const std::string& arg, const char* name)
{
    const std::string n(name);
    return arg == n || (arg.size() > n.size() && arg.compare(0, n.size(), n) == 0 && arg[n.size()] == '=');
}

} // namespace

ParsedCommandLine ParseCommandLine(std::span<const std::string> args)
{
    ParsedCommandLine parsed;
    Options& o = parsed.options;
    std::string& error = parsed.error;
    bool haveInput = false;
    bool onlyFiles = false;
    for (size_t i = 0; i < args.size() && error.empty(); ++i) {
        const std::string& arg = args[i];
        if (onlyFiles || arg == "-" || arg.empty() || arg[0] != '-') {
            if (haveInput) {
                error = "more than one input file";
                break;
            }
            haveInput = true;
            if (onlyFiles || arg != "-") o.input = arg;
            continue;
        }
        std::string value;
        if (arg == "--") onlyFiles = true;
        else if (arg == "--help" || arg == "-h") o.help = true;
        else if (arg == "--after-empty-line") o.format.AfterEmptyLine = true;
        else if (arg == "--recode-cp866") o.format.RecodeCp866 = true;
        else if (arg == "--sentence-breaks") o.format.SentenceBreaks = true;
        else if (arg == "--probe-indents") o.format.ProbeIndents = true;
        else if (arg == "--post-process") o.format.PostProcess = true;
        else if (arg == "--auto-recode") o.autoRecode = true;
        else if (arg == "--detect") o.detect = true;
        else if (arg == "--stats") o.stats = true;
        else if (arg == "--utf8") o.utf8 = true;
        else if (IsOption(arg, "-o") || IsOption(arg, "--output")) {
            if (TakeValue(args, i, arg.rfind("--output", 0) == 0 ? "--output" : "-o", value, error)) {
                if (value.empty()) error = "the output file name is empty";
                o.output = value;
            }
        } else if (IsOption(arg, "--mode")) {
            if (TakeValue(args, i, "--mode", value, error)) {
                if (value == "auto") o.mode = folio::ParagraphMode::Auto;
                else if (value == "on") o.mode = folio::ParagraphMode::On;
                else if (value == "off") o.mode = folio::ParagraphMode::Off;
                else error = "invalid mode '" + value + "' (expected auto, on or off)";
            }
        } else if (IsOption(arg, "--before")) {
            if (TakeValue(args, i, "--before", value, error)) o.before = value;
        } else if (IsOption(arg, "--after")) {
            if (TakeValue(args, i, "--after", value, error)) o.after = value;
        } else if (IsOption(arg, "--translit")) {
            if (TakeValue(args, i, "--translit", value, error)) o.translit = value;
        } else {
            error = "unknown option '" + arg + "'";
        }
    }
    if (!error.empty() || o.help) return parsed;
    if (o.mode && (o.format.SentenceBreaks || o.format.ProbeIndents))
        error = "--mode cannot be combined with --sentence-breaks or --probe-indents";
    else if (o.autoRecode && o.format.RecodeCp866)
        error = "--auto-recode cannot be combined with --recode-cp866";
    else if (o.utf8 && (o.format.RecodeCp866 || o.autoRecode || o.detect))
        error = "--utf8 cannot be combined with --recode-cp866, --auto-recode or --detect";
    else if (o.translit && haveInput)
        error = "--translit takes no input file";
    return parsed;
}

} // namespace foliotext
