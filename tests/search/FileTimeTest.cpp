#include "search/FileTime.h"

#include <gtest/gtest.h>

namespace zelvan {
namespace {

TEST(FileTime, formats_in_utc_with_two_digit_fields)
{
    // 2013-03-05 07:04:09 UTC
    constexpr FileTime kTime = 1362467049;
    EXPECT_EQ(FormatFileTime(kTime), "05.03.2013     07:04:09");
    EXPECT_EQ(FileTimeToDate(kTime), "05.03.2013 07:04:09");
    EXPECT_EQ(FormatFileTime(0), "01.01.1970     00:00:00");
    EXPECT_EQ(FormatFileTime(1798761599), "31.12.2026     23:59:59");
}

} // namespace
} // namespace zelvan
