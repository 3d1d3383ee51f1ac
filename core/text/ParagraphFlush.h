#pragma once
// The paragraph flush of the engine: turns the gathered paragraph buffer into one
// output line. Internal to FormatText; declared here so the run and the tests share it.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace folio {

// The output line for a paragraph buffer: leading blanks dropped, "--" and "—" made single
// hyphens, runs of blanks made one space, three spaces in front (a buffer holding fewer than
// two characters after that keeps its original form), then the quote pass and the hyphen
// normalisation that rejoins words hyphenated at a line end. `marks` is reusable storage.
std::string FlushParagraph(std::string_view buffer, std::vector<uint32_t>& marks);

} // namespace folio
