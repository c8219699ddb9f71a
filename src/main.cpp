// The program entry: the window first (hidden), then the data module, which chooses the
// database account, then the message loop, which shows the window.
#include <QApplication>
#include <memory>

#include "common/MemoryPolicy.h"
#include "data/UDM.h"
#include "ui/QtDialogs.h"
#include "ui/UTavrel.h"

int main(int argc, char* argv[]) {
  ReturnLargeBlocksToTheSystem();
  QApplication application(argc, argv);
  QtDialogs boxes;
  dialogs::install(&boxes);

  TFTavrel window;
  FTavrel = &window;
  window.Arguments = QCoreApplication::arguments();
  auto module = std::make_unique<Tdm>();
  window.show();
  const int code = application.exec();

  module.reset();
  FTavrel = nullptr;
  dialogs::install(nullptr);
  return code;
}
