#include "RunningProgram.h"

#include <QCoreApplication>
#include <QTableView>
#include <QTest>

#include <stdexcept>

#include "common/Clock.h"
#include "common/RegionalForms.h"
#include "data/UDM.h"
#include "ui/DataSetModel.h"
#include "ui/UTavrel.h"

namespace tavrel::test {

RunningProgram::RunningProgram() {
  SetRegionalLocale(QLocale("pt_BR"));
}

RunningProgram::~RunningProgram() {
  // The entry's order: the data module goes first, the window with the application.
  module_.reset();
  window_.reset();
  FTavrel = nullptr;
  SetNow(std::nullopt);
  SetRegionalLocale(std::nullopt);
}

void RunningProgram::start(const QStringList& arguments, const QDateTime& now) {
  SetNow(now);
  window_ = std::make_unique<TFTavrel>();
  FTavrel = window_.get();
  window_->Arguments = arguments;
  module_ = std::make_unique<Tdm>();
  window_->show();
  QCoreApplication::processEvents();
}

void RunningProgram::activate() {
  window_->activateWindow();
  if (!QTest::qWaitForWindowActive(window_.get()))
    throw std::runtime_error("the window did not become active");
}

DataSetModel& RunningProgram::gridModel() const {
  auto* model = qobject_cast<DataSetModel*>(window_->DBGrid1->model());
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
