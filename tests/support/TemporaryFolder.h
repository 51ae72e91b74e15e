#pragma once

#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "clientdb/AlteredDatabases.h"
#include "support/TempDir.h"

namespace zelvan::test {

// Sets TMPDIR for as long as it lives, so that the temporary copies of a dry run can be seen and no
// other process's dry run meets them (its clean-up of a shared TMPDIR could); with
// `room` to a small file system of its own with that many bytes free, where this user may mount one.
class TemporaryFolder {
public:
    explicit TemporaryFolder(std::optional<std::uintmax_t> room = std::nullopt)
    {
        if (const char* old = std::getenv("TMPDIR"))
            m_old = old;
        if (room) {
            m_disk.emplace(m_dir.path() / "klein", "size=64k");
            if (m_disk->mounted())
                m_disk->fill(*room);
        }
        ::setenv("TMPDIR", (room ? m_disk->path() : m_dir.path()).c_str(), 1);
    }
    ~TemporaryFolder()
    {
        if (m_old)
            ::setenv("TMPDIR", m_old->c_str(), 1);
        else
            ::unsetenv("TMPDIR");
    }
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;
    bool empty() const { return std::filesystem::is_empty(m_dir.path()); }
    bool full() const { return m_disk && m_disk->mounted(); }

private:
    TempDir m_dir;
    std::optional<SmallFileSystem> m_disk;
    std::optional<std::string> m_old;
};

} // namespace zelvan::test
