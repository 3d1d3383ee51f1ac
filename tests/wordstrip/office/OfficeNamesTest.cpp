// How paths reach the office: file URLs of the bytes as they stand, and which paths need a
// detour because the office reads URLs as UTF-8.

#include "office/OfficeProcess.h"

#include <gtest/gtest.h>

namespace wordstrip::office {
namespace {

TEST(OfficeNames, FileUrlsEncodeEveryByteButThePlainOnes)
{
    struct Case {
        std::string path;
        std::string url;
    } cases[] = {
        {"/a/b-c_d.e~f/G9.doc", "file:///a/b-c_d.e~f/G9.doc"},
        {"/my docs/a#1%.doc", "file:///my%20docs/a%231%25.doc"},
        {"/\xD0\xBA\xD0\xBD.doc", "file:///%D0%BA%D0%BD.doc"}, // UTF-8 "кн"
        {"/\xEA\xED.doc", "file:///%EA%ED.doc"},                 // cp1251 "кн"
        {"/a;b?c&d+e", "file:///a%3Bb%3Fc%26d%2Be"},
    };
    for (const Case& c : cases) EXPECT_EQ(FileUrl(c.path), c.url) << c.path;
}

TEST(OfficeNames, Utf8Check)
{
    struct Case {
        std::string text;
        bool utf8;
    } cases[] = {
        {"", true},
        {"plain.doc", true},
        {"\xD0\xBA\xD0\xBD\xD0\xB8\xD0\xB3\xD0\xB0", true},  // книга
        {"\xE2\x84\x96 1", true},                           // № 1
        {"\xF0\x9F\x93\x96", true},                         // a four-byte letter
        {"\xEA\xED\xE8\xE3\xE0", false},                    // книга in cp1251
        {"\xD0", false},                                    // cut short
        {"\xC0\x80", false},                                // overlong
        {"a\x80", false},                                   // a lone continuation byte
        {"\xF5\x80\x80\x80", false},                        // beyond U+10FFFF
    };
    for (const Case& c : cases) EXPECT_EQ(IsUtf8(c.text), c.utf8) << c.text;
}

} // namespace
} // namespace wordstrip::office
