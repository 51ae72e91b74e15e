#include "search/DriveSearch.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <charconv>
#include <climits>
#include <memory>

#include "core/PathRoutines.h"
#include "search/FilePattern.h"

namespace zelvan {

namespace {

struct DirCloser {
    void operator()(DIR* dir) const { ::closedir(dir); }
};

enum class EntryKind { File, Folder, Other };

// The kind of an entry without following a link to a folder; a link to a file counts as a file.
EntryKind kindOf(const std::string& path, unsigned char type, struct stat& info, bool& haveInfo)
{
    haveInfo = false;
    if (type == DT_REG)
        return EntryKind::File;
    if (type == DT_DIR)
        return EntryKind::Folder;
    if (type == DT_LNK) {
        if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
            return EntryKind::Other;
        haveInfo = true;
        return EntryKind::File;
    }
    if (::lstat(path.c_str(), &info) != 0)
        return EntryKind::Other;
    haveInfo = true;
    if (S_ISREG(info.st_mode))
        return EntryKind::File;
    return S_ISDIR(info.st_mode) ? EntryKind::Folder : EntryKind::Other;
}

FileTime lastWriteTime(const std::string& path)
{
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? static_cast<FileTime>(info.st_mtime) : 0;
}

// The leading decimal number of the name after the prefix ("001.mdb" gives 1); 0 without one.
long long clientNumberOf(std::string_view rest)
{
    const auto digits = rest.substr(0, std::min(rest.find_first_not_of("0123456789"), rest.size()));
    long long number = 0;
    const auto result = std::from_chars(digits.data(), digits.data() + digits.size(), number);
    return result.ec == std::errc::result_out_of_range ? LLONG_MAX : number;
}

} // namespace

DriveSearch::DriveSearch(ClientFormat format, InvoicingDatabaseTest isInvoicingDatabase, UserInterface& ui)
    : m_kind(clientFileKind(format).value_or(*clientFileKind(ClientFormat::MarloOp))),
      m_isInvoicingDatabase(std::move(isInvoicingDatabase)), m_ui(ui)
{
}

int DriveSearch::run(const std::string& folder)
{
    m_found.clear();
    m_visited.clear();
    m_running = true;
    struct stat info {};
    if (::stat(folder.c_str(), &info) == 0) {
        m_device = static_cast<unsigned long long>(info.st_dev);
        m_visited.insert(static_cast<unsigned long long>(info.st_ino));
    }
    const int count = SearchClientDatabases(folder);
    if (count > 0)
        sortFound();
    m_running = false;
    return count;
}

int DriveSearch::SearchClientDatabases(const std::string& folder)
{
    m_ui.processEvents();
    if (!m_running)
        return 0;
    const std::string base = WithBackslash(folder);
    std::unique_ptr<DIR, DirCloser> dir(::opendir(base.c_str()));
    if (!dir)
        return 0;

    int count = 0;
    while (const dirent* entry = ::readdir(dir.get())) {
        const std::string name = entry->d_name;
        if (name == "." || name == "..")
            continue;
        const std::string path = base + name;
        struct stat info {};
        bool haveInfo = false;
        const auto kind = kindOf(path, entry->d_type, info, haveInfo);
        if (kind == EntryKind::File) {
            const auto before = m_found.size();
            consider(base, name);
            count += static_cast<int>(m_found.size() - before);
        } else if (kind == EntryKind::Folder) {
            // Another file system mounted here (such as /proc under /) is not walked.
            if (!haveInfo && ::lstat(path.c_str(), &info) != 0)
                continue;
            const bool sameFileSystem = static_cast<unsigned long long>(info.st_dev) == m_device;
            // A folder reached twice (a bind mount of its own parent) is walked once.
            if (sameFileSystem && m_visited.insert(static_cast<unsigned long long>(info.st_ino)).second)
                count += SearchClientDatabases(path);
        }
        if (!m_running)
            break;
    }
    return count;
}

void DriveSearch::consider(const std::string& folder, const std::string& name)
{
    FoundDatabase found;
    if (m_kind.prefix.empty()) {
        if (!matchesPattern(name, m_kind.searchPattern) || !m_isInvoicingDatabase ||
            !m_isInvoicingDatabase(name, folder))
            return;
        found.client = name;
        found.modified = FileTimeToDate(lastWriteTime(folder + name));
    } else {
        if (!matchesClientFile(name, m_kind.prefix, m_kind.searchPattern))
            return;
        found.clientNumber = clientNumberOf(std::string_view(name).substr(m_kind.prefix.size()));
        found.client = std::to_string(found.clientNumber);
        found.modified = FormatFileTime(lastWriteTime(folder + name));
    }
    found.folder = folder;
    found.fileName = name;
    m_found.push_back(std::move(found));
}

void DriveSearch::sortFound()
{
    // By folder as text, then by client number; Tondra rows of one folder by file name.
    std::stable_sort(m_found.begin(), m_found.end(), [](const FoundDatabase& a, const FoundDatabase& b) {
        if (a.folder != b.folder)
            return a.folder < b.folder;
        if (a.clientNumber != b.clientNumber)
            return a.clientNumber < b.clientNumber;
        return a.fileName < b.fileName;
    });
}

std::string searchCaption(std::size_t count, const std::string& where)
{
    return std::to_string(count) + " gefundene Mandanten in " + where;
}

} // namespace zelvan
