// Times the window's real import of a campaign file against the private server: lines per
// second overall and for each tenth of the file, and the peak memory of the process.
//
//   import_bench INSTALL_DIR FILE   (INSTALL_DIR holds a voq.ini naming the database)
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <cstdio>

#include "BenchSupport.h"
#include "ui/HotTrackButton.h"

int main(int argc, char* argv[]) {
  bench::PrepareOffscreenProgram();
  QApplication application(argc, argv);
  if (argc != 3) {
    std::fprintf(stderr, "usage: import_bench INSTALL_DIR FILE\n");
    return 2;
  }
  bench::BenchProgram program(QString::fromLocal8Bit(argv[1]));
  TFTavrel& window = program.window();
  window.show();
  window.edtCaminhoCNPJ->setText(QString::fromLocal8Bit(argv[2]));

  std::vector<qint64> tenthsAt;
  QElapsedTimer clock;
  bench::WatchTenths(window.pb, [&](int) { tenthsAt.push_back(clock.nsecsElapsed()); });
  clock.start();
  window.btnImportar->click();
  const qint64 total = clock.nsecsElapsed();

  const int lines = window.pb->maximum();
  std::printf("lines: %d  seconds: %.2f  lines/s: %.0f  peak RSS: %ld kB\n", lines, total / 1e9,
              lines / (total / 1e9), bench::peakRssKb());
  qint64 previous = 0;
  for (std::size_t i = 0; i < tenthsAt.size(); ++i) {
    std::printf("tenth %zu: %.0f lines/s\n", i + 1,
                (lines / 10.0) / ((tenthsAt[i] - previous) / 1e9));
    previous = tenthsAt[i];
  }
  return 0;
}
