#include "support/DamagedBankFiles.h"

#include <filesystem>
#include <stdexcept>

#include "core/Windows1252.h"
#include "support/TempDir.h"

namespace zelvan::test {

namespace {

// The lines without their CR LF.
std::vector<std::string> linesOf(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const auto stop = text.find("\r\n", start);
        lines.push_back(text.substr(start, stop - start));
        start = stop == std::string::npos ? text.size() : stop + 2;
    }
    return lines;
}

std::string joined(const std::vector<std::string>& lines)
{
    std::string text;
    for (const auto& line : lines)
        text += line + "\r\n";
    return text;
}

template <typename Change> std::string eachLine(const std::vector<std::string>& lines, Change change)
{
    std::vector<std::string> changed;
    for (const auto& line : lines)
        changed.push_back(change(line));
    return joined(changed);
}

bool isAscii(const std::string& text)
{
    for (const char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return false;
    }
    return true;
}

} // namespace

std::vector<DamagedBankFile> damagedBankFiles(const std::string& realFile, const std::string& sampleFile)
{
    const auto source = std::filesystem::exists(realFile) ? realFile : sampleFile;
    const auto text = bytesOf(source);
    const auto lines = linesOf(text);

    // Saved as UTF-8: the first line with an umlaut grows by a byte for each.
    std::size_t firstUmlaut = 0;
    while (firstUmlaut < lines.size() && isAscii(lines[firstUmlaut]))
        ++firstUmlaut;
    if (firstUmlaut == lines.size())
        throw std::runtime_error("no umlaut in " + source);
    const auto grown = windows1252ToUtf8(lines[firstUmlaut]).size();

    // A second main entry right after the first bank's own.
    std::size_t firstBank = 0;
    while (firstBank < lines.size() && lines[firstBank][8] != '1')
        ++firstBank;
    auto doubled = lines;
    doubled.insert(doubled.begin() + static_cast<std::ptrdiff_t>(firstBank) + 1, lines[firstBank]);

    return {
        {"utf-8", windows1252ToUtf8(text),
         "Zeile " + std::to_string(firstUmlaut + 1) + " ist " + std::to_string(grown) +
             " Bytes lang statt 174 – ist die Datei als UTF-8 gespeichert?"},
        {"byte-order mark", "\xEF\xBB\xBF" + text,
         "Zeile 1 ist 177 Bytes lang statt 174 – ist die Datei als UTF-8 gespeichert?"},
        {"cut to 173 bytes", eachLine(lines, [](const std::string& line) { return line.substr(0, 173); }),
         "Zeile 1 ist 173 Bytes lang statt 174."},
        {"one byte more at the start", eachLine(lines, [](const std::string& line) { return " " + line; }),
         "Zeile 1 ist 175 Bytes lang statt 174."},
        {"without IBAN rules", eachLine(lines, [](const std::string& line) { return line.substr(0, 168); }),
         "Ihre Zeilen sind 168 Bytes lang: Das ist die Fassung der BLZ-Datei ohne IBAN-Regeln. Bitte die BLZ-Datei "
         "der Bundesbank mit dem Feld \"IBAN-Regel\" (174 Bytes je Zeile) verwenden."},
        {"two main entries", joined(doubled),
         "Zeile " + std::to_string(firstBank + 2) + ": Die Bankleitzahl " + lines[firstBank].substr(0, 8) +
             " hat einen zweiten Haupteintrag (Merkmal 1); der erste steht in Zeile " + std::to_string(firstBank + 1) +
             "."},
    };
}

DamagedBankFile damagedBankFile(const std::string& name, const std::string& realFile, const std::string& sampleFile)
{
    for (auto& file : damagedBankFiles(realFile, sampleFile)) {
        if (file.name == name)
            return file;
    }
    throw std::invalid_argument("no damaged bank-code file named " + name);
}

} // namespace zelvan::test
