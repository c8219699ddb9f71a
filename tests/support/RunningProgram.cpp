#include "RunningProgram.h"

#include <QCoreApplication>
#include <QTableView>
#include <QTest>

#include <stdexcept>

#include "common/Clock.h"
#include "common/RegionalForms.h"
#include "dataset/DataSetModel.h"
#include "ui/Program.h"

namespace tavrel::test {

RunningProgram::RunningProgram() {
  SetRegionalLocale(QLocale("pt_BR"));
}

RunningProgram::~RunningProgram() {
  program_.reset();
  SetNow(std::nullopt);
  SetRegionalLocale(std::nullopt);
}

void RunningProgram::start(const QStringList& arguments, const QDateTime& now) {
  SetNow(now);
  program_ = std::make_unique<Program>(arguments);
  program_->window().show();
  QCoreApplication::processEvents();
}

TFTavrel& RunningProgram::window() const {
  return program_->window();
}

Tdm& RunningProgram::module() const {
  return program_->module();
}

void RunningProgram::activate() {
  window().activateWindow();
  if (!QTest::qWaitForWindowActive(&window()))
    throw std::runtime_error("the window did not become active");
}

DataSetModel& RunningProgram::gridModel() const {
  auto* model = qobject_cast<DataSetModel*>(window().DBGrid1->model());
  if (model == nullptr) throw std::logic_error("the grid has no data set model");
  return *model;
}

QStringList RunningProgram::columnTexts(int column) const {
  const DataSetModel& model = gridModel();
  QStringList texts;
  for (int row = 0; row < model.rowCount(); ++row)
    texts << model.index(row, column).data().toString();
  return texts;
}

}  // namespace tavrel::test
