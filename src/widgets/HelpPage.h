#pragma once

#include <QString>

namespace zelvan {

// The anchor of a hint's section on the help page, "hinweis-6".
QString hintAnchor(long long number);

// The help page: the text shipped with the program, with one section per hint of the hint table
// (its text, what it means, what to do) where the text marks the place.
QString helpPageHtml();

} // namespace zelvan
