// The window's real import of a file of more than 2 GB whose lines are all passed over: the
// file is read twice (counted, then line by line), so memory must stay flat however large it
// is. Writes the file, streamed, into a temporary folder, runs the import offscreen on the
// database named by INSTALL_DIR/voq.ini, prints the peak memory at each tenth of the run and at
// its end, and deletes the file.
//
//   hostile_file_bench INSTALL_DIR [MEGABYTES [FOLDER]]
//
// MEGABYTES defaults to 2049 (past 2^31 bytes, where 32-bit sizes and positions overflow);
// FOLDER, where the file is written, to the system's temporary folder.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <cstdio>

#include "BenchSupport.h"
#include "ui/HotTrackButton.h"

namespace {

constexpr qint64 kMegabyte = 1024 * 1024;

// Trailer records of the fixed-column layout ("9" first): never a detail line. 200 characters
// and LF, the length of a real record.
bool WritePassedOverLines(const QString& path, qint64 megabytes) {
  QByteArray line = "9" + QByteArray(199, 'X') + "\n";
  QByteArray block;
  while (block.size() + line.size() <= kMegabyte) block += line;
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return false;
  for (qint64 written = 0; written < megabytes * kMegabyte; written += block.size()) {
    if (file.write(block) != block.size()) return false;
  }
  return true;
}

}  // namespace

int main(int argc, char* argv[]) {
  bench::PrepareOffscreenProgram();
  QApplication application(argc, argv);
  if (argc < 2 || argc > 4) {
    std::fprintf(stderr, "usage: hostile_file_bench INSTALL_DIR [MEGABYTES [FOLDER]]\n");
    return 2;
  }
  const qint64 megabytes = argc > 2 ? QByteArray(argv[2]).toLongLong() : 2049;
  const QString folder = argc > 3 ? QString::fromLocal8Bit(argv[3]) : QDir::tempPath();
  QTemporaryDir dir(folder + "/hostile_file_bench-XXXXXX");
  const QString path = dir.filePath("passados.txt");
  if (!dir.isValid() || !WritePassedOverLines(path, megabytes)) {
    std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    return 1;
  }
  std::printf("file: %s, %lld bytes; peak RSS before the run: %ld kB\n", qPrintable(path),
              QFile(path).size(), bench::PeakRssKb());
  std::fflush(stdout);

  bench::BenchProgram program(QString::fromLocal8Bit(argv[1]));
  TFTavrel& window = program.window();
  window.show();
  window.edtCaminhoCNPJ->setText(path);

  bench::TenthsClock clock;
  clock.onTenth = [](int tenth, double seconds) {
    std::printf("tenth %d: %.0f s, peak RSS %ld kB\n", tenth, seconds, bench::PeakRssKb());
    std::fflush(stdout);
  };
  bench::FollowBar(window.pb, clock);
  clock.start();
  window.btnImportar->click();
  clock.report(window.pb->maximum());
  return 0;
}
