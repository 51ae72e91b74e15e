#include "search/FilePattern.h"

#include <gtest/gtest.h>

namespace zelvan {
namespace {

TEST(FilePattern, wildcards_digits_and_letter_case)
{
    struct Case {
        const char* name;
        const char* pattern;
        bool matches;
    };
    const Case cases[] = {
        {"marl001.mdb", "marl###*.mdb", true},
        {"MARL001.MDB", "marl###*.mdb", true},
        {"Marl012A.mdb", "marl###*.mdb", true},
        {"marl01.mdb", "marl###*.mdb", false},
        {"marl0a1.mdb", "marl###*.mdb", false},
        {"marl001.mdbx", "marl###*.mdb", false},
        {"marl001.mdb.mdb", "marl###*.mdb", true},
        {"TONDRA.MDB", "TONDRA*.MDB", true},
        {"tondra_alt.mdb", "TONDRA*.MDB", true},
        {"TONDR.MDB", "TONDRA*.MDB", false},
        {"", "*", true},
        {"", "#", false},
        {"abc", "a*c", true},
        {"ac", "a*c", true},
        {"ab", "a*c", false},
        {"aaaaaaaaaaaaaaaaaaaaaaaaaaaaaab", "*a*a*a*a*a*a*a*c", false}, // no exponential back-tracking
        {"ÄB", "äb", false}, // only ASCII letters fold
    };
    for (const auto& c : cases)
        EXPECT_EQ(matchesPattern(c.name, c.pattern), c.matches) << c.name << " ~ " << c.pattern;
}

TEST(FilePattern, client_files_compare_prefix_and_the_last_characters)
{
    struct Case {
        const char* name;
        bool matches;
    };
    const Case cases[] = {
        {"MARL001.MDB", true},
        {"marl123.mdb", true},
        {"MARL012A.MDB", true},
        {"marl001kopie.mdb", false}, // the last 12 characters do not match
        {"MARX001.MDB", false},
        {"DORV001.MDB", false},
        {"MAR", false},
        {"MARLmarl001x.mdb", true},  // prefix and last 12 characters both fit
    };
    for (const auto& c : cases)
        EXPECT_EQ(matchesClientFile(c.name, "MARL", "marl###*.mdb"), c.matches) << c.name;
}

} // namespace
} // namespace zelvan
