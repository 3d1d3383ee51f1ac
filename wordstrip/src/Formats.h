#pragma once
// The nine save formats: index (the number passed to the office), letter, accepted names and
// default extension.

#include <array>
#include <optional>
#include <string_view>
#include <vector>

namespace wordstrip {

struct SaveFormat {
    int index;
    char letter;
    std::vector<std::string_view> names; // the first one begins with "wdFormat"
    std::string_view extension;
};

const std::array<SaveFormat, 9>& SaveFormats();

// A FORMAT parameter: one character is a digit 0-8 or a letter of "wltTdDruh" (case-sensitive);
// a longer one is compared case-insensitively with the short names first, then with the
// "wdFormat" names with and without that prefix, in index order.
std::optional<int> LookupFormat(std::string_view parameter);

} // namespace wordstrip
