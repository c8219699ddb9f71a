#include "ui/Program.h"

Program::Program(const QStringList& arguments) : window_(&module_) {
  window_.Arguments = arguments;
}
