#pragma once

#include <functional>
#include <string>
#include <unordered_set>
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

// The drive search: walks a folder tree for the client databases of one format. The walk never
// follows a symbolic link to a folder, stays on the file system it started on, passes over
// folders it cannot read, and gives the event loop a turn once per folder, during which stop()
// ends it.
class DriveSearch {
public:
    DriveSearch(ClientFormat format, InvoicingDatabaseTest isInvoicingDatabase, UserInterface& ui);

    // Empties FoundDatabases, walks the tree under `folder` and sorts what it found.
    // Returns the number of databases found.
    int run(const std::string& folder);
    void stop() { m_running = false; }
    bool running() const { return m_running; }

    const std::vector<FoundDatabase>& FoundDatabases() const { return m_found; }

private:
    int SearchClientDatabases(const std::string& folder);
    void consider(const std::string& folder, const std::string& name);
    void sortFound();

    ClientFileKind m_kind;
    InvoicingDatabaseTest m_isInvoicingDatabase;
    UserInterface& m_ui;
    std::vector<FoundDatabase> m_found;
    bool m_running = false;
    unsigned long long m_device = 0;
    std::unordered_set<unsigned long long> m_visited; // inodes of the folders walked
};

// The caption of the result list: "3 gefundene Mandanten in c: [SYSTEM]".
std::string searchCaption(std::size_t count, const std::string& where);

} // namespace zelvan
