#include "core/Windows1252.h"

#include <unicode/normalizer2.h>
#include <unicode/translit.h>
#include <unicode/unistr.h>

#include <array>
#include <cstdint>
#include <memory>
#include <mutex>

namespace zelvan {

namespace {

// Unicode code points of the bytes 0x80 to 0x9F; undefined bytes keep their own value.
constexpr std::array<char32_t, 32> kHighControlBlock{
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char32_t codePointOf(unsigned char byte)
{
    if (byte >= 0x80 && byte <= 0x9F)
        return kHighControlBlock[byte - 0x80u];
    return byte;
}

void appendUtf8(std::string& out, char32_t cp)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Returns the byte for a code point, or '?' when the code page has none.
char byteOf(char32_t cp)
{
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF))
        return static_cast<char>(cp);
    for (std::size_t i = 0; i < kHighControlBlock.size(); ++i) {
        if (kHighControlBlock[i] == cp)
            return static_cast<char>(0x80 + i);
    }
    return '?';
}

// Reads one UTF-8 sequence at `pos`; returns false for a malformed one. `pos` always advances.
bool readUtf8(std::string_view text, std::size_t& pos, char32_t& cp)
{
    const auto lead = static_cast<unsigned char>(text[pos++]);
    if (lead < 0x80) {
        cp = lead;
        return true;
    }
    std::size_t extra = 0;
    char32_t minimum = 0;
    if ((lead & 0xE0) == 0xC0) {
        extra = 1, cp = lead & 0x1Fu, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2, cp = lead & 0x0Fu, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3, cp = lead & 0x07u, minimum = 0x10000;
    } else {
        return false;
    }
    for (std::size_t i = 0; i < extra; ++i) {
        if (pos >= text.size())
            return false;
        const auto next = static_cast<unsigned char>(text[pos]);
        if ((next & 0xC0) != 0x80)
            return false;
        cp = (cp << 6) | (next & 0x3Fu);
        ++pos;
    }
    return cp >= minimum && cp <= 0x10FFFF && !(cp >= 0xD800 && cp <= 0xDFFF);
}

bool inWindows1252(char32_t cp)
{
    return cp == U'?' || byteOf(cp) != '?';
}

// Any script to Latin letters, then the Latin letters to ASCII.
constexpr const char* kTransliteratorId = "Any-Latin; Latin-ASCII";

// One transliterator for the program's life, built on first need (building it reads ICU's rule
// data, a few milliseconds); ICU's transliterators are not safe to share between threads.
class SharedTransliterator {
public:
    // The Latin form of one character, or empty when ICU has none.
    icu::UnicodeString latinFormOf(UChar32 cp)
    {
        const std::lock_guard lock(m_mutex);
        if (!m_built) {
            m_built = true;
            UErrorCode status = U_ZERO_ERROR;
            m_transliterator.reset(icu::Transliterator::createInstance(kTransliteratorId, UTRANS_FORWARD, status));
            if (U_FAILURE(status))
                m_transliterator.reset();
        }
        if (!m_transliterator)
            return {};
        icu::UnicodeString form(cp);
        m_transliterator->transliterate(form);
        return form == icu::UnicodeString(cp) ? icu::UnicodeString() : form;
    }

private:
    std::mutex m_mutex;
    bool m_built = false;
    std::unique_ptr<icu::Transliterator> m_transliterator;
};

SharedTransliterator& sharedTransliterator()
{
    static SharedTransliterator shared;
    return shared;
}

bool holdsOnlyWindows1252(const icu::UnicodeString& text)
{
    for (int32_t i = 0; i < text.length(); i = text.moveIndex32(i, 1)) {
        if (!inWindows1252(static_cast<char32_t>(text.char32At(i))))
            return false;
    }
    return true;
}

// Whether the code page holds the UTF-8 text as it stands; German names need no ICU this way.
bool fitsWindows1252(std::string_view text)
{
    std::size_t pos = 0;
    while (pos < text.size()) {
        char32_t cp = 0;
        if (!readUtf8(text, pos, cp) || !inWindows1252(cp))
            return false;
    }
    return true;
}

} // namespace

std::string windows1252ToUtf8(std::string_view bytes)
{
    std::string out;
    out.reserve(bytes.size());
    for (const char c : bytes)
        appendUtf8(out, codePointOf(static_cast<unsigned char>(c)));
    return out;
}

std::string utf8ToWindows1252(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    std::size_t pos = 0;
    while (pos < text.size()) {
        char32_t cp = 0;
        out += readUtf8(text, pos, cp) ? byteOf(cp) : '?';
    }
    return out;
}

Windows1252Text transliterateForWindows1252(std::string_view text)
{
    if (fitsWindows1252(text))
        return {std::string(text), false};
    // Malformed UTF-8 arrives here as U+FFFD, which has no Latin form.
    icu::UnicodeString unicode =
        icu::UnicodeString::fromUTF8(icu::StringPiece(text.data(), static_cast<int32_t>(text.size())));

    // Composed first, so that a letter stored with a separate accent ("e" and U+0301) stays the "é"
    // Windows-1252 has.
    UErrorCode status = U_ZERO_ERROR;
    if (const auto* nfc = icu::Normalizer2::getNFCInstance(status); U_SUCCESS(status)) {
        icu::UnicodeString composed = nfc->normalize(unicode, status);
        if (U_SUCCESS(status))
            unicode = composed;
    }
    Windows1252Text result{{}, true};
    for (int32_t i = 0; i < unicode.length(); i = unicode.moveIndex32(i, 1)) {
        const UChar32 cp = unicode.char32At(i);
        if (inWindows1252(static_cast<char32_t>(cp))) {
            icu::UnicodeString(cp).toUTF8String(result.text);
            continue;
        }
        const icu::UnicodeString form = sharedTransliterator().latinFormOf(cp);
        if (!form.isEmpty() && holdsOnlyWindows1252(form))
            form.toUTF8String(result.text);
        else
            result.text += '?';
    }
    return result;
}

} // namespace zelvan
