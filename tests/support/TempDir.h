#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace zelvan::test {

// A fresh folder that is removed with everything in it when the object goes.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    // Writes `content` as bytes to a file in the folder and returns its full path.
    std::string write(const std::string& name, const std::string& content) const;
    // The names of the entries in the folder, sorted.
    std::vector<std::string> names() const;

private:
    std::filesystem::path m_path;
};

// The bytes of a file; empty when it cannot be read.
std::string bytesOf(const std::filesystem::path& file);
// The names of the entries in a folder, sorted; empty when it cannot be read.
std::vector<std::string> filesIn(const std::filesystem::path& folder);
// Every entry under a folder, with a digest of its bytes (0 for what is no regular file), but those
// whose name begins with `skipped` when it is given: two equal maps mean nothing was added or changed.
std::map<std::string, std::size_t> digestsUnder(const std::filesystem::path& folder, const std::string& skipped = {});

} // namespace zelvan::test
