#pragma once

#include <memory>
#include <string>

class QApplication;

namespace zelvan {

class FormAdressen;

// What one run of the program holds: the shared state, the database store, the dialogs and
// the main window. Needs a QApplication.
class ProgramSession {
  public:
    explicit ProgramSession(std::string programFolder);
    ~ProgramSession();
    ProgramSession(const ProgramSession&) = delete;
    ProgramSession& operator=(const ProgramSession&) = delete;

    FormAdressen& window();

  private:
    struct Parts;
    std::unique_ptr<Parts> m_parts;
};

// Name, program font and German Qt texts of the application, as the program start sets them.
void setUpApplication(QApplication& application);

// The program start without arguments: shows the main window and runs until it is closed.
int runMainWindow(int& argc, char** argv, const std::string& programFolder);

} // namespace zelvan
