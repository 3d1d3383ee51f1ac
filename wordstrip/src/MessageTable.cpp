#include "MessageTable.h"

#include <array>
#include <utility>

namespace wordstrip {
namespace {

constexpr std::string_view kShortUsage =
    "Usage: %1 [-cr] [[-o DIR|-O] [-e|-E EXT] [-k|-w]|-s]\n"
    "                   [-f FORMAT] [-CS] [WqDvh] [--] file [..-P PROGID] [-.]\n";

// Switches start in column 3, descriptions in column 31; continuation lines are indented by 30.
constexpr std::string_view kLongUsage =
    "Usage:\n"
    "  %1 [-cr] [[-o DIR|-O] [-e|-E EXT] [-k|-w]|-s]\n"
    "              [-f FORMAT] [-CS] [-P PROGID] [-WqDvh] [--] file [...]\n"
    "\n"
    "Options:\n"
    "  -c, --no-cygwin-path        Does not support Cygwin 1.1 mount volumes.\n"
    "  -r, --recursive             Searches input files recursively.\n"
    "  -o, --outdir=DIR            Creates output files in DIR.\n"
    "  -O, --origdir               Creates output files in the same directories as\n"
    "                              input files.\n"
    "  -e, --change-extension=EXT  Changes input extensions to EXT.\n"
    "  -E, --append-extension=EXT  Appends extension EXT.\n"
    "  -s, --stdout                Writes converted text to stdout.\n"
    "  -k, --skip-existing         Skips if the output file already exists.\n"
    "  -w, --overwrite             Overwrites existing files.\n"
    "  -f, --format=FORMAT         Specifies output format. The default is 2 or\n"
    "                              wdFormatText. FORMAT must be one of the format\n"
    "                              specifiers listed below.\n"
    "  -C, --remove-comment        Removes all comments from documents.\n"
    "  -S, --remove-style          Removes user-defined styles and resets all\n"
    "                              paragraphs and characters to the default style.\n"
    "  -P, --progid=PROGID         Specifies program ID to create an application\n"
    "                              object.\n"
    "  -W, --exit-on-warning       Aborts when a warning message is generated.\n"
    "  -q, --quiet                 Quiet mode. Does not display logs and warnings.\n"
    "  -D, --debug                 Debug mode. Displays what is going on and exit\n"
    "                              without actually saving files.\n"
    "  -v, --version               Displays version information.\n"
    "  -h, -?, --help              Displays this help.\n"
    "  --                          Indicates the end of option switches.\n"
    "\n"
    "Format Specifiers for -f Option:\n"
    "  0, w, wdFormatDocument, document, doc\n"
    "  1, l, wdFormatTemplate, template, dot\n"
    "  2, t, wdFormatText, text, txt\n"
    "  3, T, wdFormatTextLineBreaks, textlinebreaks\n"
    "  4, d, wdFormatDOSText, dostext\n"
    "  5, D, wdFormatDOSTextLineBreaks, dostextlinebreaks\n"
    "  6, r, wdFormatRTF, rtf, richtext\n"
    "  7, u, wdFormatUnicodeText, unicodetext, unicode,\n"
    "        wdFormatEncodedText, encodedtext\n"
    "  8, h, wdFormatHTML, html, htm\n"
    "\n"
    "\n";

constexpr std::array<std::pair<MessageId, std::string_view>, 26> kTable{{
    {msg::FileNotFound, "%1: File not found.\n"},
    {msg::OutputNameTooLong, "%1: Output filename will be too long.\n"},
    {msg::OutputExists, "%1: Output file \"%2\" already exists. Skipped.\n"},
    {msg::NoUniqueName, "Unable to generate unique filename for output.\n"},
    {msg::StdoutWriteFailed, "Failed to write conversion result to stdout.\n"},
    {msg::OpenFailed, "%1: Documents.Open method failed.\n"},
    {msg::SaveAsFailed, "Document.SaveAs method failed.\n"},
    {msg::QuitFailed, "Failed to terminate Word application. Use Task Manager to kill the process.\n"},
    {msg::ShortUsage, kShortUsage},
    {msg::LongUsage, kLongUsage},
    {msg::Aborted, "Operation Aborted.\n"},
    {msg::Unexpected, "An unexpected error has occurred.\n"},
    {msg::NoMemory, "Not enough memory.\n"},
    {msg::OleInitFailed, "Failed to initialize the OLE library.\n"},
    {msg::NoVersionInfo, "Version information is not available.\n"},
    {msg::InvalidOption, "%1: Invalid option '%2!c!' specified.\n"},
    {msg::MissingParameter, "%1: Option requires a parameter.\n"},
    {msg::ParameterNotAllowed, "%1: Option does not take a parameter.\n"},
    {msg::InvalidParameter, "%1: \"%2\" is not a valid parameter for this option.\n"},
    {msg::UsedTwice, "%1: Option cannot be used twice.\n"},
    {msg::UsedTwiceSeparate, "%1 %2: Option cannot be used twice.\n"},
    {msg::Conflict, "%1: Option cannot be used with '%2!c!'.\n"},
    {msg::ConflictSeparate, "%1 %2: Option cannot be used with '%3!c!'.\n"},
    {msg::NoFile, "No file to be processed.\n"},
    {msg::WordInitFailed, "Failed to initialize the Word application.\n"},
    {msg::NoDocuments, "Failed to obtain Documents collection object.\n"},
}};

} // namespace

std::optional<std::string_view> LookupMessage(MessageId id)
{
    for (const auto& [key, text] : kTable)
        if (key == id) return text;
    return std::nullopt;
}

} // namespace wordstrip
