#include "app/ColumnFit.h"

#include <QAbstractItemModel>

#include <algorithm>
#include <cmath>

namespace zelvan {

std::vector<int> placeColumns(std::span<const ColumnFit> fits, std::span<const ColumnNeed> needs, int visible)
{
    std::vector<int> widths(needs.size());
    int used = 0;
    int rest = -1;
    for (std::size_t column = 0; column < needs.size(); ++column) {
        const ColumnFit fit = column < fits.size() ? fits[column] : ColumnFit{};
        const ColumnNeed& need = needs[column];
        switch (fit.kind) {
        case FitKind::Content:
            widths[column] = std::max(need.content, need.least);
            break;
        case FitKind::UpToShare:
            widths[column] = std::max(std::min(need.content, static_cast<int>(visible * fit.share)), need.least);
            break;
        case FitKind::Rest:
            // Only the first such column takes the rest; a second one fits its content.
            if (rest < 0) {
                rest = static_cast<int>(column);
                continue;
            }
            widths[column] = std::max(need.content, need.least);
            break;
        }
        used += widths[column];
    }
    if (rest >= 0)
        widths[static_cast<std::size_t>(rest)] = std::max(visible - used, needs[static_cast<std::size_t>(rest)].least);
    return widths;
}

TextWidths::TextWidths(const QFont& font) : m_font(font), m_metrics(font)
{
    for (std::size_t c = 0; c < m_latin1.size(); ++c)
        m_latin1[c] = m_metrics.horizontalAdvance(QChar(static_cast<char16_t>(c)));
}

double TextWidths::of(const QString& text)
{
    double width = 0.0;
    for (const QChar c : text) {
        const char16_t unit = c.unicode();
        if (unit < m_latin1.size()) {
            width += m_latin1[unit];
            continue;
        }
        // Combining marks and surrogate pairs are shaped together with their neighbours.
        if (c.isSurrogate() || c.isMark())
            return std::max(width, exact(text));
        auto found = m_others.constFind(unit);
        if (found == m_others.constEnd())
            found = m_others.insert(unit, m_metrics.horizontalAdvance(c));
        width += *found;
    }
    return width;
}

std::vector<double> widestTexts(const QAbstractItemModel& model, TextWidths& widths, const std::vector<bool>& measured,
                                int firstRow, int lastRow)
{
    const int columns = model.columnCount();
    std::vector<double> widest(static_cast<std::size_t>(std::max(columns, 0)), 0.0);
    std::vector<QString> widestText(widest.size());
    if (lastRow < 0)
        lastRow = model.rowCount() - 1;
    for (int column = 0; column < columns; ++column) {
        const auto slot = static_cast<std::size_t>(column);
        if (slot >= measured.size() || !measured[slot])
            continue;
        for (int row = std::max(firstRow, 0); row <= lastRow; ++row) {
            const QVariant value = model.data(model.index(row, column), Qt::DisplayRole);
            // Read in place: the texts of a large grid are not copied once more.
            QString converted;
            const QString* text = static_cast<const QString*>(value.constData());
            if (value.typeId() != QMetaType::QString) {
                converted = value.toString();
                text = &converted;
            }
            const double width = widths.of(*text);
            if (width > widest[slot]) {
                widest[slot] = width;
                widestText[slot] = *text;
            }
        }
        // Kerning that widens a text, rare as it is, shows in the widest one.
        widest[slot] = std::max(widest[slot], widths.exact(widestText[slot]));
    }
    return widest;
}

} // namespace zelvan
