#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QHash>

#include <array>
#include <span>
#include <vector>

class QAbstractItemModel;

namespace zelvan {

// How one grid column takes its width.
enum class FitKind {
    Content,   // as wide as its widest cell
    UpToShare, // as wide as its widest cell, but no wider than a share of the grid's visible width
    Rest,      // what the other columns leave, up to the grid's right edge
};

// The width rule of one grid column. No column is narrower than its heading or its sample text.
struct ColumnFit {
    FitKind kind = FitKind::Content;
    double share = 0.0;     // UpToShare only
    const char* sample = ""; // a text the column always has room for (empty: none)
};

// What one column needs, in pixels, cell margins included.
struct ColumnNeed {
    int content = 0; // its widest cell
    int least = 0;   // its heading or its sample, whichever is wider
};

// The widths of the columns in a grid whose visible width is `visible`. Columns without a rule
// fit their content.
std::vector<int> placeColumns(std::span<const ColumnFit> fits, std::span<const ColumnNeed> needs, int visible);

// Widths of texts in one font, quick enough for every cell of a large grid: a text's width is
// taken as the sum of its characters' advances (looked up once per character), which is what it
// is drawn with but for kerning; texts whose characters are shaped together are measured whole.
class TextWidths {
  public:
    explicit TextWidths(const QFont& font);

    const QFont& font() const { return m_font; }

    // The text's width without kerning.
    double of(const QString& text);
    // The drawn width, as the font shapes the whole text.
    double exact(const QString& text) const { return m_metrics.horizontalAdvance(text); }

  private:
    QFont m_font;
    QFontMetricsF m_metrics;
    std::array<double, 256> m_latin1{};
    QHash<char16_t, double> m_others;
};

// The width of the widest cell text of every column of `model` (0 for columns not in
// `measured`), over rows first..last (all rows when last < 0).
std::vector<double> widestTexts(const QAbstractItemModel& model, TextWidths& widths, const std::vector<bool>& measured,
                                int firstRow = 0, int lastRow = -1);

} // namespace zelvan
