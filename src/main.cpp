// The program entry: the window first (hidden), then the data module, which chooses the
// database account, then the message loop, which shows the window.
#include <QApplication>

#include "common/MemoryPolicy.h"
#include "ui/Program.h"
#include "ui/QtDialogs.h"

int main(int argc, char* argv[]) {
  ReturnLargeBlocksToTheSystem();
  QApplication application(argc, argv);
  QtDialogs boxes;
  dialogs::install(&boxes);

  int code = 0;
  {
    Program program(QCoreApplication::arguments());
    program.window().show();
    code = application.exec();
  }
  dialogs::install(nullptr);
  return code;
}
