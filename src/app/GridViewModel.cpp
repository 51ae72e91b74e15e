#include "app/GridViewModel.h"

#include <algorithm>
#include <array>

#include "app/WorkingSetModel.h"
#include "clientdb/HintClass.h"

namespace zelvan {

namespace {

// The columns the search looks into.
constexpr std::array<AccountColumn, 4> kFindColumns{AccountColumn::Key, AccountColumn::SearchName, AccountColumn::Blz,
                                                    AccountColumn::Account};

bool isWholeNumber(std::string_view text)
{
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string_view withoutLeadingZeros(std::string_view digits)
{
    const auto first = digits.find_first_not_of('0');
    return first == std::string_view::npos ? std::string_view() : digits.substr(first);
}

char foldedAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

int sign(std::ptrdiff_t value)
{
    return value < 0 ? -1 : (value > 0 ? 1 : 0);
}

} // namespace

SortState nextSortOnClick(const SortState& current, int clickedColumn)
{
    if (current.column != clickedColumn)
        return {clickedColumn, Qt::AscendingOrder};
    if (current.order == Qt::AscendingOrder)
        return {clickedColumn, Qt::DescendingOrder};
    return {};
}

int compareCells(std::string_view a, std::string_view b)
{
    if (isWholeNumber(a) && isWholeNumber(b)) {
        // Any number of digits: fewer significant digits is the smaller number.
        const auto x = withoutLeadingZeros(a);
        const auto y = withoutLeadingZeros(b);
        if (x.size() != y.size())
            return x.size() < y.size() ? -1 : 1;
        if (const int byValue = x.compare(y); byValue != 0)
            return sign(byValue);
        // The same value: the shorter text (fewer leading zeros) first.
        return sign(static_cast<std::ptrdiff_t>(a.size()) - static_cast<std::ptrdiff_t>(b.size()));
    }
    const auto mismatch = std::mismatch(a.begin(), a.end(), b.begin(), b.end(),
                                        [](char x, char y) { return foldedAscii(x) == foldedAscii(y); });
    if (mismatch.first == a.end() || mismatch.second == b.end()) {
        if (const auto bySize = static_cast<std::ptrdiff_t>(a.size()) - static_cast<std::ptrdiff_t>(b.size()))
            return sign(bySize);
        return sign(a.compare(b));
    }
    const auto x = static_cast<unsigned char>(foldedAscii(*mismatch.first));
    const auto y = static_cast<unsigned char>(foldedAscii(*mismatch.second));
    return x < y ? -1 : 1;
}

GridViewModel::GridViewModel(WorkingSetModel& source, QObject* parent) : QSortFilterProxyModel(parent), m_source(source)
{
    setSourceModel(&source);
    // Rows follow a conversion or an edit at once: a row whose hint went away leaves the filter.
    setDynamicSortFilter(true);
}

void GridViewModel::setOnlyRowsWithHint(bool on)
{
    if (on == m_onlyRowsWithHint)
        return;
    m_onlyRowsWithHint = on;
    // One change of the layout, not a removal for every gap between the rows that stay: with a
    // hundred thousand rows that is the difference between a blink and a second.
    invalidate();
}

bool GridViewModel::filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const
{
    if (!m_onlyRowsWithHint || sourceParent.isValid())
        return true;
    const auto& rows = m_source.rows();
    if (sourceRow < 0 || static_cast<std::size_t>(sourceRow) >= rows.size())
        return false;
    return classifyHint(rows[static_cast<std::size_t>(sourceRow)][AccountColumn::Hint]) != HintClass::None;
}

void GridViewModel::sort(int column, Qt::SortOrder order)
{
    const auto& rows = m_source.rows();
    if (column >= 0 && static_cast<std::size_t>(column) < kAccountColumnCount) {
        m_sortKeys.resize(rows.size());
        for (std::size_t row = 0; row < rows.size(); ++row) {
            const std::string_view text = rows[row].cells[static_cast<std::size_t>(column)];
            SortKey& key = m_sortKeys[row];
            key.text = text;
            key.number = isWholeNumber(text);
            key.digits = key.number ? withoutLeadingZeros(text) : std::string_view();
            key.folded.assign(text);
            std::transform(key.folded.begin(), key.folded.end(), key.folded.begin(), foldedAscii);
        }
    }
    QSortFilterProxyModel::sort(column, order);
    m_sortKeys.clear();
    m_sortKeys.shrink_to_fit();
}

int GridViewModel::compareKeys(const SortKey& a, const SortKey& b)
{
    // The same order as compareCells.
    if (a.number && b.number) {
        if (a.digits.size() != b.digits.size())
            return a.digits.size() < b.digits.size() ? -1 : 1;
        if (const int byValue = a.digits.compare(b.digits); byValue != 0)
            return sign(byValue);
        return sign(static_cast<std::ptrdiff_t>(a.text.size()) - static_cast<std::ptrdiff_t>(b.text.size()));
    }
    if (const int folded = a.folded.compare(b.folded); folded != 0)
        return sign(folded);
    return sign(a.text.compare(b.text));
}

bool GridViewModel::lessThan(const QModelIndex& left, const QModelIndex& right) const
{
    const auto l = static_cast<std::size_t>(left.row());
    const auto r = static_cast<std::size_t>(right.row());
    if (l < m_sortKeys.size() && r < m_sortKeys.size())
        return compareKeys(m_sortKeys[l], m_sortKeys[r]) < 0;
    const auto& rows = m_source.rows();
    const auto cell = [&rows](const QModelIndex& index) -> std::string_view {
        const auto row = static_cast<std::size_t>(index.row());
        const auto column = static_cast<std::size_t>(index.column());
        if (row >= rows.size() || column >= kAccountColumnCount)
            return {};
        return rows[row].cells[column];
    };
    return compareCells(cell(left), cell(right)) < 0;
}

bool GridViewModel::rowContains(int sourceRow, const QString& text) const
{
    const AccountRow& row = m_source.rows()[static_cast<std::size_t>(sourceRow)];
    const QByteArray utf8 = text.toUtf8();
    const std::string_view needle(utf8.constData(), static_cast<std::size_t>(utf8.size()));
    for (const AccountColumn column : kFindColumns) {
        const std::string& cell = row[column];
        // Exact bytes first (digits, the usual case), then without regard to case.
        if (cell.find(needle) != std::string::npos ||
            (!cell.empty() && QString::fromStdString(cell).contains(text, Qt::CaseInsensitive)))
            return true;
    }
    return false;
}

int GridViewModel::findNext(const QString& text, int after) const
{
    const int count = rowCount();
    if (text.isEmpty() || count == 0)
        return -1;
    const int start = after < 0 || after >= count ? -1 : after;
    for (int step = 1; step <= count; ++step) {
        const int row = (start + step) % count;
        const int sourceRow = mapToSource(index(row, 0)).row();
        if (sourceRow >= 0 && rowContains(sourceRow, text))
            return row;
    }
    return -1;
}

int GridViewModel::findHiddenRow(const QString& text) const
{
    if (text.isEmpty() || !m_onlyRowsWithHint)
        return -1;
    const int count = m_source.rowCount();
    for (int sourceRow = 0; sourceRow < count; ++sourceRow) {
        if (!filterAcceptsRow(sourceRow, {}) && rowContains(sourceRow, text))
            return sourceRow;
    }
    return -1;
}

} // namespace zelvan
