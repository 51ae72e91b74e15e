#pragma once

#include <QFont>

class QWidget;

namespace zelvan {

// "Tahoma", 10 points, not bold; where Tahoma is missing, the system's sans-serif font at 10 points.
QFont ProgramFont();

// Gives the window and every control in it the name and size of ProgramFont.
void ApplyProgramFont(QWidget& window);

} // namespace zelvan
