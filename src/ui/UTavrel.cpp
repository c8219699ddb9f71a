#include "ui/UTavrel.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QShortcut>
#include <QTableView>
#include <QTimer>

#include "app/ContributorSearch.h"
#include "common/Clock.h"
#include "common/Dialogs.h"
#include "common/RegionalForms.h"
#include "common/funcoes.h"
#include "data/UDM.h"
#include "dataset/DataSetModel.h"
#include "dataset/OrdenarGRID.h"
#include "ui/GridColumns.h"
#include "ui/HotTrackButton.h"

TFTavrel* FTavrel = nullptr;

TFTavrel::~TFTavrel() {
  if (FTavrel == this) FTavrel = nullptr;
}

namespace {

const QColor kOddRow(218, 218, 197);
const QColor kEvenRow(236, 236, 217);
const QColor kSelectedCell(210, 230, 210);

}  // namespace

void TFTavrel::ConnectHandlers() {
  OnSignal(BtnSair, &QPushButton::clicked, &TFTavrel::BtnSairClick);
  // activated: a choice of the operator, not a change made from code.
  OnSignal(cboColuna, &QComboBox::activated, &TFTavrel::cboColunaChange);
  OnSignal(btnPesquisar, &QPushButton::clicked, &TFTavrel::btnPesquisarClick);
  OnSignal(btnImportar, &QPushButton::clicked, &TFTavrel::btnImportarClick);
  OnSignal(btnProcuraCNPJ, &QPushButton::clicked, &TFTavrel::btnProcuraCNPJClick);
  // Also while a cell is being edited: the editor is a child of the grid.
  OnSignal(new QShortcut(QKeySequence(Qt::Key_Insert), DBGrid1, nullptr, nullptr,
                         Qt::WidgetWithChildrenShortcut),
           &QShortcut::activated, &TFTavrel::DBGrid1InsertRow);
  OnSignal(new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Delete), DBGrid1, nullptr, nullptr,
                         Qt::WidgetWithChildrenShortcut),
           &QShortcut::activated, &TFTavrel::DBGrid1DeleteRow);
  connect(DBGrid1->horizontalHeader(), &QHeaderView::sectionClicked, this,
          [this](int section) { Guarded([this, section] { DBGrid1TitleClick(section); }); });
  DBGrid1->setItemDelegate(new GridCellDelegate(
      [this](QPainter* Canvas, const QRect& Rect, const QModelIndex& Column, GridDrawState State) {
        DBGrid1DrawColumnCell(Canvas, Rect, Column, State);
      },
      DBGrid1));
}

void TFTavrel::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  // The program creates the data module before the first show; a window shown without one
  // (its layout alone) has nothing to show yet.
  if (shown_ || module_ == nullptr) return;
  shown_ = true;
  Guarded([this] { FormShow(); });
}

void TFTavrel::BindGrid() {
  if (gridModel_ != nullptr || module_ == nullptr) return;
  dsCAM.setDataSet(&module_->cdsVis);
  std::vector<DataSetModel::Column> columns;
  for (const GridColumn& column : GridColumns()) columns.push_back({column.field, column.title});
  gridModel_ = new DataSetModel(&module_->cdsVis, std::move(columns), DBGrid1);
  DBGrid1->setModel(gridModel_);
  ApplyGridColumns(*DBGrid1);
  dsCAM.setUpdateRecord([this] { PostGridEdit(); });

  // The grid's current row is the set's current row, whichever of the two moves; a reset of the
  // rows keeps the column the operator was in.
  const auto showCurrent = [this] {
    const int row = gridModel_->currentRow();
    if (row >= 0 && DBGrid1->currentIndex().row() != row) {
      DBGrid1->setCurrentIndex(gridModel_->index(row, gridColumn_));
    }
  };
  connect(DBGrid1->selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this](const QModelIndex& current) {
            if (current.isValid()) gridColumn_ = current.column();
          });
  connect(gridModel_, &DataSetModel::currentRowChanged, this, showCurrent);
  connect(gridModel_, &QAbstractItemModel::modelReset, this, showCurrent);
  connect(DBGrid1->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          [this](const QModelIndex& current) {
            Guarded([this, current] { gridModel_->setCurrentRow(current.row()); });
          });
}

// The editor open in the grid writes its text into the set and closes, as leaving the cell
// would; a sort or a new row resets the grid, which would close it without a word. A click on a
// title has usually done so already: the grid takes the focus from the editor first.
void TFTavrel::PostGridEdit() {
  // The grid edits its current cell only; the editor open there, if any, is its index widget.
  const QModelIndex cell = DBGrid1->currentIndex();
  QWidget* editor = DBGrid1->indexWidget(cell);
  if (editor == nullptr) return;
  gridModel_->writeText(cell, GridCellDelegate::EditorText(editor));
  emit DBGrid1->itemDelegate()->closeEditor(editor);
}

// Insert: a new row before the current one, in the viewing set only.
void TFTavrel::DBGrid1InsertRow() {
  if (gridModel_ == nullptr || !module_->cdsVis.active()) return;
  PostGridEdit();
  const int row = std::max(DBGrid1->currentIndex().row(), 0);
  if (gridModel_->insertRow(row)) DBGrid1->setCurrentIndex(gridModel_->index(row, gridColumn_));
}

// Ctrl+Delete: the current row leaves the viewing set once the operator confirms.
void TFTavrel::DBGrid1DeleteRow() {
  if (gridModel_ == nullptr || gridModel_->rowCount() == 0) return;
  const int row = DBGrid1->currentIndex().row();
  if (row < 0 || !dialogs::Confirm(QStringLiteral("Delete record?"))) return;
  gridModel_->removeRow(row);
}

void TFTavrel::FormShow() {
  BindGrid();
  const QString login = Arguments.value(1);
  if (Empty(login)) {
    dialogs::ShowError(
        "Este importador somente poderá ser executado a partir do módulo Mobiliário!");
    // Closed once the show has finished, which ends the program.
    QTimer::singleShot(0, this, &QWidget::close);
    return;
  }
  module_->VOQ_Usuario = login;

  setWindowTitle(windowTitle() + " - " + LicenseeName(*module_));

  module_->VOQ_Exercicio = DateToStr(Today()).mid(6, 4);
  edtExercicio->setText(module_->VOQ_Exercicio);
  btnPesquisar->click();
}

void TFTavrel::BtnSairClick() {
  close();
}

void TFTavrel::cboColunaChange() {
  const bool columnChosen = cboColuna->currentText() != QLatin1String("NENHUM");
  edtCampo->setEnabled(columnChosen);
  QPalette palette = edtCampo->palette();
  if (columnChosen) {
    palette.setColor(QPalette::Base, QColor(255, 255, 255));
  } else {
    edtCampo->clear();
    palette.setColor(QPalette::Base, this->palette().color(QPalette::Button));
  }
  edtCampo->setPalette(palette);
}

void TFTavrel::btnPesquisarClick() {
  const SearchStatement search = ComposeSearch(
      {edtExercicio->text(), cboTipo->currentText(), cboColuna->currentText(), edtCampo->text()});
  switch (search.refusal) {
    case SearchStatement::Refusal::NoYear:
      dialogs::ShowWarning("O Exercicio é Obrigatório!");
      edtExercicio->setFocus();
      return;
    case SearchStatement::Refusal::InvalidDate:
      dialogs::ShowWarning("Data Invalida!");
      return;
    case SearchStatement::Refusal::None:
      break;
  }
  LabCount->setText(QString::number(ListContributors(*module_, search.sql)) + " Registros.");
}

void TFTavrel::DBGrid1TitleClick(int Column) {
  OrdenarGRID(&module_->cdsCAM, &dsCAM, QString::fromLatin1(GridColumns().at(Column).field));
}

void TFTavrel::DBGrid1DrawColumnCell(QPainter* Canvas, const QRect& Rect, const QModelIndex& Column,
                                     GridDrawState State) {
  const int recNo = Column.data(DataSetModel::RecNoRole).toInt();
  QColor background = recNo % 2 == 1 ? kOddRow : kEvenRow;
  const QColor text = Qt::black;
  if (State == GridDrawFlag::Selected || State == GridDrawFlag::Focused ||
      State == (GridDrawFlag::Selected | GridDrawFlag::Focused)) {
    background = kSelectedCell;
  }
  GridCellDelegate::DefaultDrawColumnCell(Canvas, Rect, Column, background, text);
}
