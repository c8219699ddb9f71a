#pragma once

#include <QStringList>

#include "data/UDM.h"
#include "ui/UTavrel.h"

// The program as its entry starts it: the window, hidden, then the data module, which chooses
// the database account. Showing the window then runs FormShow. The module goes first when the
// program ends, then the window.
class Program {
 public:
  // arguments as the command line gives them: [0] the program, [1] the login.
  explicit Program(const QStringList& arguments);
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  TFTavrel& window() { return window_; }
  Tdm& module() { return module_; }

 private:
  // Made first, the window is handed the module made right after it.
  TFTavrel window_;
  Tdm module_;
};
