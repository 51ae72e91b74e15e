#include "clientdb/SqlDialect.h"

#include <cctype>
#include <vector>

namespace zelvan {

namespace {

bool isNameChar(char c)
{
    return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_' || c == '$';
}

// Case-insensitive test for the keyword `word` at `pos`, standing as a word of its own.
bool keywordAt(std::string_view text, std::size_t pos, std::string_view word)
{
    if (pos + word.size() > text.size())
        return false;
    if (pos > 0 && isNameChar(text[pos - 1]))
        return false;
    if (pos + word.size() < text.size() && isNameChar(text[pos + word.size()]))
        return false;
    for (std::size_t i = 0; i < word.size(); ++i) {
        if (std::toupper(static_cast<unsigned char>(text[pos + i])) != static_cast<unsigned char>(word[i]))
            return false;
    }
    return true;
}

// Position of the first non-blank character at or after `pos`.
std::size_t skipBlanks(std::string_view text, std::size_t pos)
{
    while (pos < text.size() && std::isspace(static_cast<unsigned char>(text[pos])) != 0)
        ++pos;
    return pos;
}

} // namespace

std::string translateSql(std::string_view statement)
{
    std::string out;
    out.reserve(statement.size() + 16);
    // One entry per open parenthesis: true when its closing one ends an ISNULL( call.
    std::vector<bool> openParens;

    std::size_t i = 0;
    while (i < statement.size()) {
        const char c = statement[i];
        if (c == '\'') {
            // A string literal, '' inside it being a quote; copied as it stands.
            const std::size_t start = i++;
            while (i < statement.size()) {
                if (statement[i] == '\'' && (i + 1 >= statement.size() || statement[i + 1] != '\''))
                    break;
                i += statement[i] == '\'' ? std::size_t{2} : std::size_t{1};
            }
            i = i < statement.size() ? i + 1 : i;
            out.append(statement.substr(start, i - start));
            continue;
        }
        if (c == '[') {
            const auto found = statement.find(']', i + 1);
            const auto close = found == std::string_view::npos ? statement.size() : found;
            const auto name = statement.substr(i + 1, close - i - 1);
            out += '"';
            for (const char n : name) {
                out += n;
                if (n == '"')
                    out += '"';
            }
            out += '"';
            i = close == statement.size() ? close : close + 1;
            continue;
        }
        if (keywordAt(statement, i, "ISNULL")) {
            const auto paren = skipBlanks(statement, i + 6);
            if (paren < statement.size() && statement[paren] == '(') {
                out += "((";
                openParens.push_back(true);
                i = paren + 1;
                continue;
            }
        }
        if (keywordAt(statement, i, "TRIM$")) {
            out += "TRIM";
            i += 5;
            continue;
        }
        if (c == '(') {
            openParens.push_back(false);
        } else if (c == ')' && !openParens.empty()) {
            const bool endsIsNull = openParens.back();
            openParens.pop_back();
            if (endsIsNull) {
                out += ") IS NULL)";
                ++i;
                continue;
            }
        }
        if (isNameChar(c)) {
            // Copy a whole word at once, so that a name ending in ISNULL is not taken for the call.
            const std::size_t start = i;
            while (i < statement.size() && isNameChar(statement[i]))
                ++i;
            out.append(statement.substr(start, i - start));
            continue;
        }
        out += c;
        ++i;
    }
    return out;
}

} // namespace zelvan
