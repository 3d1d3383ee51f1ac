#pragma once
// The engine's optional post-processing pass: rejoins long lines that the main pass left
// apart and splits dialogue replies glued to the narration ("ушел.-Куда" becomes two
// paragraphs, the second opened by an em dash). Internal to FormatText.

#include <string>
#include <vector>

namespace folio {

// The lines after the pass. Takes the main pass's lines by value: each is released once
// it has been read, so the pass never holds two full copies of the text.
std::vector<std::string> PostProcessLines(std::vector<std::string> lines);

} // namespace folio
