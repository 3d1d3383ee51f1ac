#pragma once
// The in-memory document of the recording automation server, read from a small text fixture
// and written back in the same form by SaveAs.
//
// Fixture lines (LF or CR LF):
//   builtin NAME              a built-in style
//   style NAME                a user-defined style
//   comment TEXT              a comment
//   para STYLE|CHARSTYLE|TEXT a paragraph with its paragraph and character style
//   fail OBJECT.MEMBER HEX    calls of that member on this document fail with the HRESULT
//   pause OBJECT.MEMBER       that call waits for a signal first (for abort tests)
//   format N                  written by SaveAs; ignored when read
// Any other line is a paragraph of text in the normal style.
// Every document has the built-in styles "Normal" and "Default Paragraph Font".

#include "Hresult.h"

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace wordstrip {

inline constexpr std::string_view kNormalStyle = "Normal";
inline constexpr std::string_view kDefaultParagraphFont = "Default Paragraph Font";

struct RecordedStyle {
    std::string name;
    bool builtIn = false;
};

struct RecordedParagraph {
    std::string style;
    std::string charStyle;
    std::string text;
};

struct RecordedDocument {
    std::vector<RecordedStyle> styles;
    std::vector<std::string> comments;
    std::vector<RecordedParagraph> paragraphs;
    std::map<std::string, HRESULT> failures;
    std::vector<std::string> pauses;
};

RecordedDocument ParseRecordingFixture(std::string_view bytes);
std::string SerializeRecordedDocument(const RecordedDocument& doc, int format);

} // namespace wordstrip
