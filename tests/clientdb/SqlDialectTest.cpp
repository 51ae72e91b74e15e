#include "clientdb/SqlDialect.h"

#include <gtest/gtest.h>

namespace zelvan {
namespace {

TEST(SqlDialect, translates_each_construct)
{
    struct Case {
        const char* jet;
        const char* sqlite;
    };
    const Case cases[] = {
        {"Not ISNULL(BankKontoNr)", "Not ((BankKontoNr) IS NULL)"},
        {"isnull (x)", "((x) IS NULL)"},
        {"ISNULL(TRIM$(a))", "((TRIM(a)) IS NULL)"},
        {"TRIM$(BankIBAN) = ''", "TRIM(BankIBAN) = ''"},
        {"Festabzug.[Konto-Nr]", "Festabzug.\"Konto-Nr\""},
        {"[a\"b]", "\"a\"\"b\""},
        {"FROM Personal RIGHT JOIN Banken ON Personal.BankNr = Banken.Nr", "FROM Personal RIGHT JOIN Banken ON "
                                                                           "Personal.BankNr = Banken.Nr"},
        {"WHERE x = 'ISNULL(y) [z] TRIM$('", "WHERE x = 'ISNULL(y) [z] TRIM$('"},
        {"WHERE x = 'it''s' AND ISNULL(y)", "WHERE x = 'it''s' AND ((y) IS NULL)"},
        {"SELECT MYISNULL(a), ISNULLX FROM t", "SELECT MYISNULL(a), ISNULLX FROM t"},
        {"(ISNULL((a)) OR (b))", "((((a)) IS NULL) OR (b))"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(translateSql(c.jet), c.sqlite) << c.jet;
}

TEST(SqlDialect, leaves_an_unclosed_literal_or_bracket_as_it_is)
{
    EXPECT_EQ(translateSql("x = 'open"), "x = 'open");
    EXPECT_EQ(translateSql("[open"), "\"open\"");
}

} // namespace
} // namespace zelvan
