// Times what the operator waits for after a large import: the search that lists a year's rows
// and title-click sorts of them, each with the repaint that follows, window offscreen.
//
//   listing_bench INSTALL_DIR YEAR   (INSTALL_DIR holds a voq.ini naming the database)
#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <cstdio>

#include "BenchSupport.h"
#include "ui/GridColumns.h"

namespace {

template <typename Step>
void timed(const char* name, Step step) {
  QElapsedTimer clock;
  clock.start();
  step();
  // The grid repaints from the event loop; the operator waits for that too.
  QCoreApplication::processEvents();
  std::printf("%-36s %8.3f s\n", name, clock.nsecsElapsed() / 1e9);
}

int columnOf(const char* field) {
  const auto& columns = GridColumns();
  for (std::size_t i = 0; i < columns.size(); ++i) {
    if (qstrcmp(columns[i].field, field) == 0) return static_cast<int>(i);
  }
  return -1;
}

}  // namespace

int main(int argc, char* argv[]) {
  bench::PrepareOffscreenProgram();
  QApplication application(argc, argv);
  if (argc != 3) {
    std::fprintf(stderr, "usage: listing_bench INSTALL_DIR YEAR\n");
    return 2;
  }
  bench::BenchProgram program(QString::fromLocal8Bit(argv[1]));
  TFTavrel& window = program.window();
  timed("show (searches this year)", [&] { window.show(); });
  window.edtExercicio->setText(QString::fromLocal8Bit(argv[2]));
  timed("search the year", [&] { window.btnPesquisar->click(); });
  std::printf("listed: %s\n", qPrintable(window.LabCount->text()));
  const int cnpj = columnOf("CNPJ_CAM");
  const int nome = columnOf("NOME_CAM");
  timed("click CNPJ (ascending)", [&] { window.DBGrid1TitleClick(cnpj); });
  timed("click CNPJ (descending)", [&] { window.DBGrid1TitleClick(cnpj); });
  timed("click NOME (ascending)", [&] { window.DBGrid1TitleClick(nome); });
  timed("click NOME (descending)", [&] { window.DBGrid1TitleClick(nome); });
  std::printf("peak RSS: %ld kB\n", bench::PeakRssKb());
  return 0;
}
