#pragma once

#include <functional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "core/UserInterface.h"
#include "core/WorkingSet.h"
#include "search/ClientFileKinds.h"
#include "search/FileTime.h"

namespace zelvan {

// One database the search found: a row of FoundDatabases.
struct FoundDatabase {
    std::string client;           // "Mandant": the client number as text, or the Tondra file name
    long long clientNumber = 0;   // the number the rows of one folder are sorted by
    std::string folder;           // "Im Ordner", ending in a separator
    std::string modified;         // "zuletzt geändert"
    std::string fileName;         // the file's own name, so that choosing it opens that very file

    std::string path() const { return folder + fileName; }
};

// Answers whether a file is an invoicing (Tondra) database: IsInvoicingDatabase(name, folder).
using InvoicingDatabaseTest = std::function<bool(const std::string& name, const std::string& folder)>;

// A folder the search could not open or read, with the system's error number.
struct UnreadableFolder {
    std::string path;
    int errorNumber = 0;
};

// How far a search reaches below its start.
enum class SearchScope {
    Folder, // a chosen folder: also the file systems mounted below it, except virtual ones
    Drive,  // a drive: its own file system only
};

// The drive search: walks a folder tree for the client databases of one format. The walk never
// follows a symbolic link to a folder (it counts them), passes over lost+found, walks each folder
// once, notes every folder it cannot open or read, and gives the event loop a turn once per folder,
// during which stop() ends it.
class DriveSearch {
public:
    DriveSearch(ClientFormat format, InvoicingDatabaseTest isInvoicingDatabase, UserInterface& ui);

    // Empties the results, walks the tree under `folder` and sorts what it found.
    // Returns the number of databases found.
    int run(const std::string& folder, SearchScope scope = SearchScope::Folder);
    void stop() { m_running = false; }
    bool running() const { return m_running; }

    const std::vector<FoundDatabase>& FoundDatabases() const { return m_found; }
    const std::vector<UnreadableFolder>& unreadableFolders() const { return m_unreadable; }
    int folderLinksSkipped() const { return m_folderLinks; }

private:
    int SearchClientDatabases(const std::string& folder, unsigned long long device);
    void consider(const std::string& folder, const std::string& name);
    void sortFound();

    ClientFileKind m_kind;
    InvoicingDatabaseTest m_isInvoicingDatabase;
    UserInterface& m_ui;
    std::vector<FoundDatabase> m_found;
    std::vector<UnreadableFolder> m_unreadable;
    int m_folderLinks = 0;
    bool m_running = false;
    SearchScope m_scope = SearchScope::Folder;
    std::set<std::pair<unsigned long long, unsigned long long>> m_visited; // device and inode of each folder walked
};

// Test seam: while set, opening a folder for which `refusal` answers a nonzero error number fails
// with that number, as for a user without the right (root may open every folder). Empty to end.
void setFolderOpenRefusal(std::function<int(const std::string& folder)> refusal);

// The caption of the result list: "3 gefundene Mandanten in c: [SYSTEM]".
std::string searchCaption(std::size_t count, const std::string& where);

// "Ordner nicht lesbar (keine Berechtigung)": the result of a folder the search could not read.
std::string unreadableFolderResult(int errorNumber);
// "Ordner nicht lesbar: /kanzlei/2013 (keine Berechtigung)"
std::string unreadableFolderLine(const UnreadableFolder& folder);
// "N Ordner konnten nicht durchsucht werden"; "N Verknüpfungen auf Ordner nicht verfolgt" (singular for one)
std::string unreadableFoldersLine(std::size_t count);
std::string folderLinksLine(int count);

} // namespace zelvan
