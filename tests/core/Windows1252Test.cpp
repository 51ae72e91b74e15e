#include "core/Windows1252.h"

#include <gtest/gtest.h>

namespace zelvan {
namespace {

TEST(Windows1252, decodes_german_letters_and_euro)
{
    EXPECT_EQ(windows1252ToUtf8("M\xFC" "nchen \xC4\xD6\xDC\xE4\xF6\xFC\xDF \x80"), "München ÄÖÜäöüß €");
}

TEST(Windows1252, round_trips_every_byte_outside_the_undefined_ones)
{
    for (int byte = 1; byte < 256; ++byte) {
        const std::string original(1, static_cast<char>(byte));
        EXPECT_EQ(utf8ToWindows1252(windows1252ToUtf8(original)), original) << "byte " << byte;
    }
}

TEST(Windows1252, replaces_what_the_code_page_cannot_hold)
{
    EXPECT_EQ(utf8ToWindows1252("a\xE2\x82\xACz"), "a\x80z");             // euro sign
    EXPECT_EQ(utf8ToWindows1252("\xE4\xB8\xAD"), "?");                     // CJK character
    EXPECT_EQ(utf8ToWindows1252("x\xFF\xC3"), "x??");                      // malformed and cut off
    EXPECT_EQ(utf8ToWindows1252("\xC0\xAF"), "?");                         // overlong form
}

TEST(Transliteration, writes_what_windows_1252_lacks_in_latin_letters_and_keeps_the_rest)
{
    struct Case {
        const char* text;
        const char* written;
        bool changed;
    };
    const Case cases[] = {
        {"YILMAZ Ayşe Gül", "YILMAZ Ayse Gül", true}, // Turkish
        {"DVOŘÁK Jiří", "DVORÁK Jirí", true},         // Czech
        {"Łódź Wałęsa", "Lódz Walesa", true},         // Polish
        {"Иванов", "Ivanov", true},                   // Cyrillic
        {"Σωκράτης", "Sokrates", true},               // Greek
        {"Café \U0001F600", "Café ?", true},          // an emoji: no Latin form
        {"\uE000", "?", true},                        // a private character
        {"Jose\u0301", "José", true},                 // the accent stored apart
        {"Müller & Söhne € 1.000", "Müller & Söhne € 1.000", false},
    };
    for (const auto& c : cases) {
        const auto written = transliterateForWindows1252(c.text);
        EXPECT_EQ(written.text, c.written) << c.text;
        EXPECT_EQ(written.changed, c.changed) << c.text;
    }
}

} // namespace
} // namespace zelvan
