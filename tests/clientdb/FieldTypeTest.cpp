#include "clientdb/FieldType.h"

#include <gtest/gtest.h>

namespace zelvan {
namespace {

TEST(FieldType, size_read_from_the_declared_type)
{
    struct Case {
        const char* declared;
        int size;
    };
    const Case cases[] = {
        {"VARCHAR(34)", 34},   {"varchar( 11 )", 11}, {"CHAR(8)", 8}, {"TEXT(250)", 250},
        {"NUMERIC(10,2)", 10}, {"SMALLINT", 2},       {"INTEGER", 4}, {"integer", 4},
        {"DATETIME", 8},       {"DOUBLE", 8},         {"TEXT", 0},    {"", 0},
        {"VARCHAR()", 0},      {"BLOB", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(sizeOfDeclaredType(c.declared), c.size) << c.declared;
}

} // namespace
} // namespace zelvan
