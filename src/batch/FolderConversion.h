#pragma once

#include <string>
#include <vector>

#include "bankdir/BankDirectory.h"
#include "batch/DatabaseConversion.h"
#include "clientdb/BackupLedger.h"
#include "core/UserInterface.h"
#include "core/WorkingSet.h"
#include "search/DriveSearch.h"

namespace zelvan {

// One line of the summary: one database, and for Galdo one of its two passes.
struct BatchLine {
    std::string client; // "Mandant" as the search lists it: the client number, or the Tondra file name
    std::string file;   // the database's path
    std::string pass;   // Galdo: "Personaldaten" or "Festabzüge"; empty for the other formats
    int rows = 0;
    int ibansFormed = 0;
    int conversionHints = 0;
    int errorHints = 0;
    int rowsNotSaved = 0;
    std::string backupFile; // the copy made of the database in this run, if any
    std::string result;     // "gespeichert", or the German reason it was not
    // Not opened, not read, not saved, a report not written, or not done because the run stopped.
    bool failed = false;
    // Saved, but a report file could not be written (failed is set as well).
    bool reportNotWritten = false;
    // Not a database but a folder the search could not read: `file` names it, `result` says why,
    // and it has no counts (failed is set as well).
    bool unreadableFolder = false;
    // Not begun because the run stopped before it (failed is set as well).
    bool notReached = false;
};

// What a run over a whole folder did.
struct BatchSummary {
    std::vector<BatchLine> lines;
    // The run was asked to stop; the databases it did not reach are listed as not done.
    bool stopped = false;
    // The summary file in the folder, and why it could not be written (empty when written). No
    // file when no database was found.
    std::string summaryFile;
    std::string summaryFileError;
    // Symbolic links to folders the search did not follow.
    int folderLinksSkipped = 0;
};

// The folder run: which databases, and how each is converted.
struct BatchOptions {
    ClientFormat format = ClientFormat::None;
    std::string folder;
    // The options of convert; the report prefix is set per database.
    ConversionSettings settings;
    // A copy of each database file before its first change (convert --ohne-sicherung turns it off).
    bool backups = true;
    // A chosen folder (convert --alle) also enters the file systems mounted below it; a drive does not.
    SearchScope scope = SearchScope::Folder;
    // The copies made so far in this window session, so that a file is copied once however many
    // runs change it; none: the run keeps its own.
    BackupLedger* sessionBackups = nullptr;
    // The run's start as it goes into the summary's name ("2026-12-07_233954"); empty: now.
    std::string started{};
};

// The summary is named Sammelprotokoll_ZELVAN_<format>_<start>.csv.
inline constexpr const char* kSummaryFileStem = "Sammelprotokoll_ZELVAN_";
inline constexpr const char* kSaved = "gespeichert";
// The result of a database that a dry run converted and saved in its copy.
inline constexpr const char* kDryRunResult = "Probelauf";
inline constexpr const char* kPersonnelPass = "Personaldaten";
inline constexpr const char* kDeductionsPass = "Festabzüge";

// Finds the databases of the format under the folder as the drive search does, converts and saves
// each one as a single conversion would (a Galdo database twice: personnel data, then fixed
// deductions), one after the other, each in its own transaction and with one copy per file for the
// whole run. A database that fails is noted and the next one goes on; each folder the search could
// not read gets a line of its own after the databases. Report files get the
// database's file name in front. Each database's messages are answered with their default button
// and not shown: its line carries the reason it failed. Progress goes to `ui` before anything is
// done to a database (its number, so that a stop is asked for while the right one is shown), after
// each step and after each database; a stop request is read right after that first report. A linked
// Tondra database's reports carry its name and its Marlo database's. At the end the summary is
// written into the folder, named after the format and the start, "_2" on when that name is taken;
// nothing when no database was found. A dry run (settings.dryRun) works on copies, makes no backup,
// says "Probelauf" where the real run would say "gespeichert", and puts "Probelauf_" before the
// summary's name; no original file changes.
BatchSummary convertFolder(const BatchOptions& options, const BankDirectory& directory, UserInterface& ui);

// What a run that found no database says: "Keine Datenbank des Formats Marlo unter ORDNER gefunden."
std::string noDatabaseFoundText(const BatchOptions& options);

} // namespace zelvan
