#pragma once

#include <QDateTime>
#include <QStringList>

#include <memory>

#include "RecordingDialogs.h"

class Program;
class TFTavrel;
class Tdm;
class DataSetModel;

namespace tavrel::test {

// The program started as its entry starts it: the window (hidden), then the data module, then
// the show that runs FormShow. Boxes are recorded instead of shown; the regional forms are
// Brazil's and the clock stands at the given moment while the object lives. The installation
// (see Installation.h) must exist before start().
class RunningProgram {
 public:
  RunningProgram();
  ~RunningProgram();
  RunningProgram(const RunningProgram&) = delete;
  RunningProgram& operator=(const RunningProgram&) = delete;

  // arguments as the command line gives them: [0] the program, [1] the login.
  void start(const QStringList& arguments,
             const QDateTime& now = QDateTime(QDate(2019, 3, 15), QTime(10, 0), Qt::UTC));
  // Makes the window the active one, so that keyboard focus can be asked about.
  void activate();

  TFTavrel& window() const;
  Tdm& module() const;
  DataSetModel& gridModel() const;
  // The texts the grid shows in one column, top to bottom.
  QStringList columnTexts(int column) const;

  RecordingDialogs boxes;

 private:
  std::unique_ptr<Program> program_;
};

}  // namespace tavrel::test
