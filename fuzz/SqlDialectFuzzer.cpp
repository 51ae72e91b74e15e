// Fuzzes the translation of the loader's SQL dialect into SQLite's.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "FuzzCheck.h"
#include "clientdb/SqlDialect.h"

using namespace zelvan;
using zelvan::fuzz::require;

namespace {

char upper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

bool containsIgnoringCase(std::string_view text, std::string_view word)
{
    for (std::size_t i = 0; i + word.size() <= text.size(); ++i) {
        std::size_t k = 0;
        while (k < word.size() && upper(text[i + k]) == word[k])
            ++k;
        if (k == word.size())
            return true;
    }
    return false;
}

std::size_t countOf(std::string_view text, char c)
{
    std::size_t n = 0;
    for (const char t : text)
        n += t == c ? 1 : 0;
    return n;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view statement(reinterpret_cast<const char*>(data), size);
    const std::string translated = translateSql(statement);

    // Without anything to translate the statement stays as it is.
    if (statement.find('[') == std::string_view::npos && !containsIgnoringCase(statement, "ISNULL") &&
        !containsIgnoringCase(statement, "TRIM$"))
        require(translated == statement, "Anweisung ohne Übersetzung verändert");

    // Literals are copied whole and names only get quotes around them: no single quote is lost or added.
    require(countOf(translated, '\'') == countOf(statement, '\''), "Anzahl der Hochkommas verändert");

    // Translating a statement without brackets, calls and literals twice changes nothing more.
    if (statement.find_first_of("[]'\"") == std::string_view::npos && !containsIgnoringCase(statement, "ISNULL") &&
        !containsIgnoringCase(statement, "TRIM$"))
        require(translateSql(translated) == translated, "zweite Übersetzung anders");
    return 0;
}
