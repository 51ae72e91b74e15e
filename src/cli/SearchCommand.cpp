#include "cli/SearchCommand.h"

#include <cerrno>
#include <filesystem>
#include <ostream>
#include <system_error>

#include "cli/ArgumentReader.h"
#include "core/CsvField.h"
#include "cli/OutputCheck.h"
#include "search/DriveSearch.h"
#include "search/InvoicingDatabase.h"

namespace zelvan {

namespace {

struct SearchArguments {
    ClientFormat format = ClientFormat::None;
    std::string folder;
};

std::optional<SearchArguments> parseArguments(const std::vector<std::string>& args, std::ostream& err)
{
    SearchArguments parsed;
    ArgumentReader reader(args);
    while (!reader.atEnd() && reader.error().empty()) {
        const auto arg = reader.next();
        if (arg == "--format") {
            if (const auto format = reader.formatValue(arg))
                parsed.format = *format;
        } else if (arg.starts_with("--")) {
            reader.fail("Unbekanntes Argument für \"search\": " + arg);
        } else if (parsed.folder.empty()) {
            parsed.folder = arg;
        } else {
            reader.fail("Es kann nur ein Ordner durchsucht werden.");
        }
    }
    if (reader.error().empty() && parsed.format == ClientFormat::None)
        reader.fail("Das Format fehlt (--format 1 bis 4).");
    if (reader.error().empty() && parsed.folder.empty())
        reader.fail("Der zu durchsuchende Ordner fehlt.");
    if (!reader.error().empty()) {
        err << reader.error() << "\nAufruf: zelvan-konverter search --format N ORDNER\n";
        return std::nullopt;
    }
    return parsed;
}

} // namespace

int runSearchCommand(const std::vector<std::string>& args, CommandEnvironment& env)
{
    const auto parsed = parseArguments(args, env.err);
    if (!parsed)
        return kExitUsage;
    std::error_code ec;
    if (!std::filesystem::is_directory(parsed->folder, ec)) {
        const bool exists = std::filesystem::exists(parsed->folder, ec);
        env.err << (exists ? "Der Pfad \"" : "Der Ordner \"") << parsed->folder
                << (exists ? "\" ist kein Ordner.\n" : "\" wurde nicht gefunden.\n");
        return kExitUsage;
    }

    SilentUserInterface ui;
    DriveSearch search(parsed->format, IsInvoicingDatabase, ui);
    search.run(parsed->folder);
    // One record per line: a folder name holding ";", a quote, CR or LF is quoted.
    std::string text;
    for (const auto& found : search.FoundDatabases()) {
        appendCsvField(text, found.client);
        text += ';';
        appendCsvField(text, found.folder);
        text += ';';
        appendCsvField(text, found.modified);
        text += '\n';
    }
    appendCsvField(text, searchCaption(search.FoundDatabases().size(), parsed->folder));
    text += '\n';
    errno = 0;
    env.out << text;
    const int writeError = env.out ? 0 : errno;
    const bool complete = outputComplete(env.out, env.err, writeError);
    for (const auto& folder : search.unreadableFolders())
        env.err << unreadableFolderLine(folder) << '\n';
    if (search.folderLinksSkipped() > 0)
        env.err << folderLinksLine(search.folderLinksSkipped()) << '\n';
    return complete && search.unreadableFolders().empty() ? kExitOk : kExitDatabaseError;
}

} // namespace zelvan
