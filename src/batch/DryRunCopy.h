#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/WorkingSet.h"

namespace zelvan {

// The copies a dry run works on: the database, and for a Tondra database whose Kunden table is
// linked also the database it is linked to (the copy's link then names that copy), in a temporary
// folder of their own. The originals are only read, through SQLite's online backup and without
// changing any file of them or beside them, so a database in WAL mode gives its committed state
// whole. The folder goes with everything in it when the object goes, whatever happened; a marker
// file in it is held until then, so that a later run knows the folder of a killed one.
class DryRunCopy {
public:
    DryRunCopy() = default;
    ~DryRunCopy();
    DryRunCopy(const DryRunCopy&) = delete;
    DryRunCopy& operator=(const DryRunCopy&) = delete;

    // Makes the copies; returns why they could not be made, in German, or an empty text.
    std::string make(const std::string& database, ClientFormat format);
    // The copy of the database.
    const std::string& copyPath() const { return m_copies.front().first; }
    // The original a path of a copy stands for; any other path as it is.
    std::string originalOf(const std::string& path) const;
    // Why a copy could not be made or written in the temporary folder: a fault of the copy, never
    // of the original.
    static std::string tempFailure(int errorNumber);
    // Removes the folders that killed dry runs left in `temp`: only this user's, never through a
    // symbolic link, and only those whose marker no running dry run holds.
    static void removeLeftovers(const std::filesystem::path& temp);

private:
    std::string copyFile(const std::string& original, const std::filesystem::path& copy);
    std::string relink(const std::string& copy, const std::string& original);

    std::filesystem::path m_folder;
    // Held while the folder is in use.
    int m_marker = -1;
    std::vector<std::pair<std::string, std::string>> m_copies; // copy, original
};

// The name of a dry run's temporary folder starts so, and the marker it holds in there is named so.
inline constexpr std::string_view kDryRunFolderPrefix = "zelvan-probelauf-";
inline constexpr std::string_view kDryRunMarker = "Probelauf.zelvan-tmp";

// The prefix of every file a dry run writes, so that it never replaces a real run's file.
inline constexpr const char* kDryRunPrefix = "Probelauf_";

} // namespace zelvan
