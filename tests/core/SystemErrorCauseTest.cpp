#include "core/SystemErrorCause.h"

#include <gtest/gtest.h>

#include <cerrno>

namespace zelvan {
namespace {

TEST(SystemErrorCause, names_the_cause_with_its_number_and_never_an_english_text)
{
    EXPECT_EQ(systemErrorCause(ENOSPC), "Der Datenträger ist voll (Fehler 28)");
    EXPECT_EQ(systemErrorCause(EEXIST), "Die Datei ist schon vorhanden (Fehler 17)");
    EXPECT_EQ(systemErrorCause(EHOSTDOWN), "Systemfehler (Fehler 112)");
    EXPECT_EQ(systemErrorWords(0), "");
}

TEST(SystemErrorCause, inside_a_line_the_words_start_small_unless_a_noun_leads)
{
    EXPECT_EQ(systemErrorCauseInLine(EACCES), "keine Berechtigung");
    EXPECT_EQ(systemErrorCauseInLine(ETIMEDOUT), "Zeitüberschreitung beim Zugriff");
    EXPECT_EQ(systemErrorCauseInLine(EHOSTDOWN), "Systemfehler 112");
}

} // namespace
} // namespace zelvan
