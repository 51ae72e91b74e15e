#include "bankdir/LineScanner.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zelvan {
namespace {

// Records the events of one scan: "begin <bytes>", each line in brackets, "end".
class RecordingSink final : public LineSink {
public:
    void begin(std::size_t bytes) override { events.push_back("begin " + std::to_string(bytes)); }
    void line(std::string_view line) override { events.push_back("[" + std::string(line) + "]"); }
    void end() override { events.emplace_back("end"); }

    std::vector<std::string> events;
};

TEST(LineScanner, scan_text_hands_over_each_line_without_its_end)
{
    struct Case {
        std::string text;
        std::vector<std::string> events;
    };
    const Case cases[] = {
        {"", {"begin 0", "end"}},
        {"a", {"begin 1", "[a]", "end"}},
        {"a\n", {"begin 2", "[a]", "end"}},
        {"a\r\nb\nc", {"begin 6", "[a]", "[b]", "[c]", "end"}},
        {"\n\r\n\n", {"begin 4", "[]", "[]", "[]", "end"}},
        // Only the CR right before the LF belongs to the line end.
        {"a\r\r\nb\r", {"begin 6", "[a\r]", "[b]", "end"}},
        {std::string("x\0y\n", 4), {"begin 4", "[" + std::string("x\0y", 3) + "]", "end"}},
    };
    for (const auto& c : cases) {
        RecordingSink sink;
        scanText(c.text, sink);
        EXPECT_EQ(sink.events, c.events) << c.text;
    }
}

} // namespace
} // namespace zelvan
