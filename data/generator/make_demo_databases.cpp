// make-demo-databases [--marlo-zeilen N] [ORDNER]: writes the demo client databases of all four
// formats into ORDNER (default: demo-datenbanken).
#include <charconv>
#include <iostream>
#include <string_view>

#include "DemoDatabases.h"

int main(int argc, char** argv)
{
    std::string folder = "demo-datenbanken";
    int extraRows = 0;
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--marlo-zeilen" && i + 1 < argc) {
            const std::string_view count = argv[++i];
            const auto [end, ec] = std::from_chars(count.data(), count.data() + count.size(), extraRows);
            if (ec != std::errc{} || end != count.data() + count.size() || extraRows < 0) {
                std::cerr << "Ungültige Zeilenzahl: " << count << "\n";
                return 2;
            }
        } else if (argument == "--help" || argument == "-h" || argument.starts_with("-")) {
            std::cerr << "Aufruf: make-demo-databases [--marlo-zeilen N] [ORDNER]\n";
            return argument.starts_with("--h") || argument == "-h" ? 0 : 2;
        } else {
            folder = argument;
        }
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
