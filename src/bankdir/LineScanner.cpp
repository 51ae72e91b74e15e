#include "bankdir/LineScanner.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <system_error>

#include "core/SystemErrorCause.h"

namespace zelvan {

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

// The Bundesbank file has a few megabytes; anything far beyond is not a bank-code file.
constexpr std::uintmax_t kMaxFileBytes = 256u << 20;

ScanResult failure(std::string text)
{
    return {false, std::move(text)};
}

// Reads the whole file; the bank-code file is a few megabytes at most.
ScanResult readAll(const std::string& path, std::string& content)
{
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (ec || !std::filesystem::exists(status))
        return failure("Die Datei \"" + path + "\" wurde nicht gefunden.");
    if (std::filesystem::is_directory(status))
        return failure("\"" + path + "\" ist ein Ordner und keine Datei.");
    // A device or a pipe has no size, and opening a pipe waits for a writer: such a path is
    // turned away before it is opened.
    if (!std::filesystem::is_regular_file(status))
        return failure("Die Datei \"" + path + "\" ist keine gewöhnliche Datei.");

    const auto bytes = std::filesystem::file_size(path, ec);
    if (ec)
        return failure("Die Datei \"" + path + "\" kann nicht gelesen werden.");
    if (bytes > kMaxFileBytes)
        return failure("Die Datei \"" + path + "\" ist zu groß für eine BLZ-Datei.");

    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file)
        return failure("Die Datei \"" + path + "\" kann nicht geöffnet werden: " + systemErrorCause(errno));

    // One read of the size the file has now; a file that grows meanwhile is read to its end.
    content.resize(static_cast<std::size_t>(std::filesystem::file_size(path, ec)));
    std::size_t got = std::fread(content.data(), 1, content.size(), file.get());
    content.resize(got);
    char buffer[1 << 16];
    while ((got = std::fread(buffer, 1, sizeof buffer, file.get())) > 0)
        content.append(buffer, got);
    if (std::ferror(file.get()))
        return failure("Die Datei \"" + path + "\" kann nicht gelesen werden: " + systemErrorCause(errno));
    return {true, {}};
}

} // namespace

ScanResult scanLines(const std::string& path, LineSink& sink)
{
    std::string content;
    auto result = readAll(path, content);
    if (result.ok)
        scanText(content, sink);
    return result;
}

void scanText(std::string_view text, LineSink& sink)
{
    sink.begin(text.size());
    std::size_t start = 0;
    while (start < text.size()) {
        auto stop = text.find('\n', start);
        const auto next = stop == std::string_view::npos ? text.size() : stop + 1;
        if (stop == std::string_view::npos)
            stop = text.size();
        auto line = text.substr(start, stop - start);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        sink.line(line);
        start = next;
    }
    sink.end();
}

} // namespace zelvan
