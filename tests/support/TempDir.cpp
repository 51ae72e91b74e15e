#include "support/TempDir.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <stdexcept>

namespace zelvan::test {

TempDir::TempDir()
{
    std::string pattern = (std::filesystem::temp_directory_path() / "zelvan-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr)
        throw std::runtime_error("mkdtemp failed");
    m_path = pattern;
}

TempDir::~TempDir()
{
    std::error_code ec;
    std::filesystem::permissions(m_path, std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ec);
    std::filesystem::remove_all(m_path, ec);
}

std::string TempDir::write(const std::string& name, const std::string& content) const
{
    const auto file = m_path / name;
    std::ofstream out(file, std::ios::binary);
    out.write(content.data(), static_cast<std::streamsize>(content.size()));
    return file.string();
}

std::vector<std::string> TempDir::names() const
{
    return filesIn(m_path);
}

std::string bytesOf(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::string> filesIn(const std::filesystem::path& folder)
{
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

std::map<std::string, std::size_t> digestsUnder(const std::filesystem::path& folder, const std::string& skipped)
{
    std::map<std::string, std::size_t> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        if (!skipped.empty() && entry.path().filename().string().starts_with(skipped))
            continue;
        files[entry.path().string()] = entry.is_regular_file() ? std::hash<std::string>{}(bytesOf(entry.path())) : 0;
    }
    return files;
}

} // namespace zelvan::test
