#pragma once

#include <string>

#include "bankdir/BankCodeFile.h"

class QWidget;

namespace zelvan {

// The text of "Über Zelvan Konverter": the program's version, the bank-code file in use (path,
// modification time, number of banks, whether it is the bundled sample) or why none is in use,
// and the versions of Qt and SQLite.
std::string aboutText(const BankFileResult& file, int banks, const std::string& modified);

// Shows the box over `owner`, modal to that window only, and returns at once.
void showAboutBox(QWidget* owner, const std::string& text);

} // namespace zelvan
