// A second workstation for tests: the program, window offscreen, on the installation in
// INSTALL_DIR, imports FILE as LOGIN through the window's own handler, and tells on standard
// output, one line each and as it happens, what its operator sees:
//
//   count N de M                   each line's count under the grid
//   box KIND|CAPTION|TEXT          each box (KIND 0 warning, 1 information, 2 error; CR as \r)
//
// and after the run:
//
//   imported (I Importados e A Alterados)
//   pending P                      changes the write cache still holds
//   transaction open|none
//
//   usage: import_workstation INSTALL_DIR FILE LOGIN
#include <QApplication>
#include <QLabel>
#include <QLineEdit>

#include <cstdio>

#include "LabelWatch.h"
#include "RunningProgram.h"
#include "common/InstallDir.h"
#include "data/UDM.h"
#include "ui/HotTrackButton.h"
#include "ui/UTavrel.h"

namespace {

void tell(const QString& line) {
  std::printf("%s\n", qPrintable(line));
  std::fflush(stdout);
}

// Boxes told as they are shown; installed after the program's recorder, so it is the one asked.
class ToldDialogs : public RecordingDialogs {
 public:
  void message(dialogs::BoxKind kind, const QString& caption, const QString& text) override {
    RecordingDialogs::message(kind, caption, text);
    tell(QString("box %1|%2|%3")
             .arg(static_cast<int>(kind))
             .arg(caption, QString(text).replace("\r", "\\r")));
  }
};

}  // namespace

int main(int argc, char* argv[]) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  if (argc != 4) {
    std::fprintf(stderr, "usage: import_workstation INSTALL_DIR FILE LOGIN\n");
    return 2;
  }
  SetInstallDir(QString::fromLocal8Bit(argv[1]) + "/");
  tavrel::test::RunningProgram program;
  ToldDialogs boxes;
  program.start({"tavrel", QString::fromLocal8Bit(argv[3])});
  TFTavrel& window = program.window();

  tavrel::test::LabelWatch count(window.LabCount);
  count.onShown = [&](const QString& text) {
    if (text.contains(" de ")) tell("count " + text);
  };
  window.edtCaminhoCNPJ->setText(QString::fromLocal8Bit(argv[2]));
  window.btnImportar->click();

  tell("imported " + window.labImportou->text());
  tell(QString("pending %1").arg(program.module().cdsCAM.changeCount()));
  tell(QString("transaction %1").arg(program.module().Conexao.inTransaction() ? "open" : "none"));
  SetInstallDir(QString());
  return 0;
}
