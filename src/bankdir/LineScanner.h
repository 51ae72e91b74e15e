#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zelvan {

// Receives the events of one scan, synchronously and in order: begin, one line each, end.
class LineSink {
public:
    virtual ~LineSink() = default;
    // `bytes` is the size of the file, a hint for what is to come.
    virtual void begin(std::size_t bytes) = 0;
    virtual void line(std::string_view line) = 0;
    virtual void end() = 0;
};

struct ScanResult {
    bool ok = false;
    std::string error; // German description when the file could not be read
};

// Reads a text file as bytes and hands each line over without its line end (LF or CR LF).
// When the file cannot be read no event is raised and the result says why.
ScanResult scanLines(const std::string& path, LineSink& sink);

// Hands the lines of a text already in memory over, as scanLines does with a file's content.
void scanText(std::string_view text, LineSink& sink);

} // namespace zelvan
