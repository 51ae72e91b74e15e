#include "clientdb/HintClass.h"

namespace zelvan {

namespace {

constexpr long long kConversionHintFrom = 100;
// Larger numbers stop being read; no hint comes near this.
constexpr long long kNumberLimit = 1'000'000'000'000LL;

} // namespace

long long hintNumberOf(std::string_view hint)
{
    std::size_t pos = hint.find_first_not_of(' ');
    if (pos == std::string_view::npos)
        return 0;
    bool negative = false;
    if (hint[pos] == '-' || hint[pos] == '+')
        negative = hint[pos++] == '-';
    long long number = 0;
    for (; pos < hint.size() && hint[pos] >= '0' && hint[pos] <= '9' && number < kNumberLimit; ++pos)
        number = number * 10 + (hint[pos] - '0');
    return negative ? -number : number;
}

HintClass classifyHint(std::string_view hint)
{
    if (hint.empty())
        return HintClass::None;
    return hintNumberOf(hint) >= kConversionHintFrom ? HintClass::Conversion : HintClass::Error;
}

HintCounts countHints(const WorkingSetArray& rows)
{
    HintCounts counts;
    for (const AccountRow& row : rows) {
        switch (classifyHint(row[AccountColumn::Hint])) {
        case HintClass::Error:
            ++counts.errors;
            break;
        case HintClass::Conversion:
            ++counts.conversions;
            break;
        case HintClass::None:
            break;
        }
    }
    return counts;
}

} // namespace zelvan
