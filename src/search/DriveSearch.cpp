#include "search/DriveSearch.h"

#include <dirent.h>
#include <linux/magic.h>
#include <sys/stat.h>
#include <sys/vfs.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <climits>
#include <cstdlib>
#include <memory>

#include "core/PathRoutines.h"
#include "core/SystemErrorCause.h"
#include "search/FilePattern.h"

namespace zelvan {

namespace {

struct DirCloser {
    void operator()(DIR* dir) const { ::closedir(dir); }
};

std::function<int(const std::string&)>& folderOpenRefusal()
{
    static std::function<int(const std::string&)> refusal;
    return refusal;
}

// Opens `base` (the folder with its separator); the seam sees the folder as the walk names it.
DIR* openFolder(const std::string& folder, const std::string& base)
{
    if (const auto& refusal = folderOpenRefusal()) {
        if (const int error = refusal(folder)) {
            errno = error;
            return nullptr;
        }
    }
    return ::opendir(base.c_str());
}

// File systems that hold no files of users (kernel and process views), by their statfs type.
constexpr unsigned long long kVirtualFileSystems[] = {
    PROC_SUPER_MAGIC, SYSFS_MAGIC,      DEVPTS_SUPER_MAGIC, CGROUP_SUPER_MAGIC, CGROUP2_SUPER_MAGIC, DEBUGFS_MAGIC,
    TRACEFS_MAGIC,    SECURITYFS_MAGIC, PSTOREFS_MAGIC,     BPF_FS_MAGIC,       SELINUX_MAGIC,       SMACK_MAGIC,
    EFIVARFS_MAGIC,   BINFMTFS_MAGIC,   NSFS_MAGIC,         HUGETLBFS_MAGIC,
};

// Memory file systems where the system keeps its run-time state and devices: tmpfs there is
// virtual, tmpfs anywhere else may hold files.
constexpr std::string_view kSystemMemoryFolders[] = {"/dev", "/run"};

bool isVirtualFileSystem(const std::string& mountPoint)
{
    struct statfs info {};
    if (::statfs(mountPoint.c_str(), &info) != 0)
        return false; // walked, so that a folder that cannot be read is named
    const auto type = static_cast<unsigned long long>(info.f_type) & 0xffffffffULL;
    if (std::find(std::begin(kVirtualFileSystems), std::end(kVirtualFileSystems), type) !=
        std::end(kVirtualFileSystems))
        return true;
    if (type != TMPFS_MAGIC)
        return false;
    std::unique_ptr<char, decltype(&std::free)> real(::realpath(mountPoint.c_str(), nullptr), &std::free);
    const std::string_view path = real ? real.get() : mountPoint.c_str();
    return std::any_of(std::begin(kSystemMemoryFolders), std::end(kSystemMemoryFolders), [&](std::string_view root) {
        return path.starts_with(root) && (path.size() == root.size() || path[root.size()] == '/');
    });
}

enum class EntryKind { File, Folder, FolderLink, Other };

// The kind of an entry without following a link to a folder; a link to a file counts as a file.
EntryKind kindOf(const std::string& path, unsigned char type, struct stat& info, bool& haveInfo)
{
    haveInfo = false;
    if (type == DT_REG)
        return EntryKind::File;
    if (type == DT_DIR)
        return EntryKind::Folder;
    if (type == DT_LNK) {
        if (::stat(path.c_str(), &info) != 0)
            return EntryKind::Other;
        if (S_ISDIR(info.st_mode))
            return EntryKind::FolderLink;
        if (!S_ISREG(info.st_mode))
            return EntryKind::Other;
        haveInfo = true;
        return EntryKind::File;
    }
    if (::lstat(path.c_str(), &info) != 0)
        return EntryKind::Other;
    haveInfo = true;
    if (S_ISLNK(info.st_mode)) {
        struct stat target {};
        return ::stat(path.c_str(), &target) == 0 && S_ISDIR(target.st_mode) ? EntryKind::FolderLink : EntryKind::Other;
    }
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

int DriveSearch::run(const std::string& folder, SearchScope scope)
{
    m_found.clear();
    m_unreadable.clear();
    m_folderLinks = 0;
    m_visited.clear();
    m_scope = scope;
    m_running = true;
    struct stat info {};
    int count = 0;
    if (::stat(folder.c_str(), &info) != 0) {
        m_unreadable.push_back({folder, errno});
    } else {
        const auto device = static_cast<unsigned long long>(info.st_dev);
        m_visited.insert({device, static_cast<unsigned long long>(info.st_ino)});
        count = SearchClientDatabases(folder, device);
    }
    if (count > 0)
        sortFound();
    std::sort(m_unreadable.begin(), m_unreadable.end(),
              [](const UnreadableFolder& a, const UnreadableFolder& b) { return a.path < b.path; });
    m_running = false;
    return count;
}

int DriveSearch::SearchClientDatabases(const std::string& folder, unsigned long long device)
{
    m_ui.processEvents();
    if (!m_running)
        return 0;
    const std::string base = WithBackslash(folder);
    std::unique_ptr<DIR, DirCloser> dir(openFolder(folder, base));
    if (!dir) {
        m_unreadable.push_back({folder, errno});
        return 0;
    }

    int count = 0;
    while (m_running) {
        errno = 0;
        const dirent* entry = ::readdir(dir.get());
        if (!entry) {
            if (errno != 0)
                m_unreadable.push_back({folder, errno});
            break;
        }
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
        } else if (kind == EntryKind::FolderLink) {
            ++m_folderLinks; // never followed: it may lead back up the tree
        } else if (kind == EntryKind::Folder && name != "lost+found") {
            if (!haveInfo && ::lstat(path.c_str(), &info) != 0) {
                m_unreadable.push_back({path, errno});
                continue;
            }
            const auto entryDevice = static_cast<unsigned long long>(info.st_dev);
            // Another file system mounted here: a drive search stays on its own, a folder search
            // enters all but the virtual ones (such as /proc under /).
            if (entryDevice != device && (m_scope == SearchScope::Drive || isVirtualFileSystem(path)))
                continue;
            // A folder reached twice (a bind mount of its own parent) is walked once.
            if (m_visited.insert({entryDevice, static_cast<unsigned long long>(info.st_ino)}).second)
                count += SearchClientDatabases(path, entryDevice);
        }
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

std::string unreadableFolderResult(int errorNumber)
{
    return "Ordner nicht lesbar (" + systemErrorCauseInLine(errorNumber) + ")";
}

std::string unreadableFolderLine(const UnreadableFolder& folder)
{
    return "Ordner nicht lesbar: " + folder.path + " (" + systemErrorCauseInLine(folder.errorNumber) + ")";
}

std::string unreadableFoldersLine(std::size_t count)
{
    return std::to_string(count) + (count == 1 ? " Ordner konnte" : " Ordner konnten") + " nicht durchsucht werden";
}

std::string folderLinksLine(int count)
{
    return std::to_string(count) + (count == 1 ? " Verknüpfung" : " Verknüpfungen") + " auf Ordner nicht verfolgt";
}

void setFolderOpenRefusal(std::function<int(const std::string& folder)> refusal)
{
    folderOpenRefusal() = std::move(refusal);
}

} // namespace zelvan
