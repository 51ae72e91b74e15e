// make-demo-databases [--marlo-zeilen N] [--mandanten N] [ORDNER]: writes the demo client databases
// of all four formats into ORDNER (default: demo-datenbanken); with --mandanten N an office of N
// clients instead, four databases each (Marlo OP, Tondra, Dorvan, Galdo), four clients to a folder.
#include <charconv>
#include <iostream>
#include <string_view>

#include "DemoDatabases.h"

namespace {

bool readCount(std::string_view text, int& count)
{
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), count);
    return ec == std::errc{} && end == text.data() + text.size() && count >= 0;
}

} // namespace

int main(int argc, char** argv)
{
    std::string folder = "demo-datenbanken";
    int extraRows = 0;
    int clients = -1;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--marlo-zeilen" && i + 1 < argc) {
            const std::string_view count = argv[++i];
            if (!readCount(count, extraRows)) {
                std::cerr << "Ungültige Zeilenzahl: " << count << "\n";
                return 2;
            }
        } else if (argument == "--mandanten" && i + 1 < argc) {
            const std::string_view count = argv[++i];
            if (!readCount(count, clients) || clients == 0) {
                std::cerr << "Ungültige Zahl der Mandanten: " << count << "\n";
                return 2;
            }
        } else if (argument == "--help" || argument == "-h" || argument.starts_with("-")) {
            std::cerr << "Aufruf: make-demo-databases [--marlo-zeilen N] [--mandanten N] [ORDNER]\n";
            return argument.starts_with("--h") || argument == "-h" ? 0 : 2;
        } else {
            folder = argument;
        }
    }
    if (clients > 0) {
        if (const auto error = zelvan::demo::writeOfficeDatabases(folder, clients, extraRows); !error.empty()) {
            std::cerr << error << "\n";
            return 1;
        }
        std::cout << folder << ": " << clients << " Mandanten je Format\n";
        return 0;
    }
    if (const auto error = zelvan::demo::writeDemoDatabases(folder, extraRows); !error.empty()) {
        std::cerr << error << "\n";
        return 1;
    }
    for (const char* name : {zelvan::demo::kMarloFile, zelvan::demo::kTondraFile, zelvan::demo::kLinkedTondraFile,
                             zelvan::demo::kDorvanFile, zelvan::demo::kGaldoFile})
        std::cout << folder << "/" << name << "\n";
    return 0;
}
