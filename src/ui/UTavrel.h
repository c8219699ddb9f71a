#pragma once

#include "common/ErrorReport.h"
#include "dataset/DataSource.h"
#include "ui/GridCellDelegate.h"

#include <QStringList>
#include <QWidget>

class HotTrackButton;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTableView;
class DataSetModel;
class Tdm;

// The program's one window: every control under its own name, and the handlers of the user
// interface.
class TFTavrel : public QWidget {
  Q_OBJECT

 public:
  static inline const QString kCaption = QStringLiteral("Importador de CNPJ dos Permissionários");

  // The window uses its data module from its show on: the program makes the window first and
  // the module right after it. Without one it is its layout alone.
  explicit TFTavrel(Tdm* module = nullptr);
  ~TFTavrel() override;

  // Bands, top to bottom.
  QFrame* Panel1 = nullptr;
  QFrame* Panel5 = nullptr;
  QFrame* Panel3 = nullptr;
  QFrame* Panel2 = nullptr;
  QTableView* DBGrid1 = nullptr;
  QFrame* RzPanel1 = nullptr;
  QFrame* Panel4 = nullptr;

  QLabel* Label2 = nullptr;
  QLabel* Label1 = nullptr;
  QLineEdit* edtCaminhoCNPJ = nullptr;
  QPushButton* btnProcuraCNPJ = nullptr;
  HotTrackButton* btnImportar = nullptr;
  QLabel* Label8 = nullptr;
  QLabel* Label3 = nullptr;
  QLineEdit* edtExercicio = nullptr;
  QLabel* Label4 = nullptr;
  QComboBox* cboTipo = nullptr;
  QLabel* Label5 = nullptr;
  QComboBox* cboColuna = nullptr;
  QLineEdit* edtCampo = nullptr;
  QPushButton* btnPesquisar = nullptr;
  QLabel* labImpINI = nullptr;
  QLabel* labImpFIM = nullptr;
  HotTrackButton* BtnSair = nullptr;
  QLabel* LabCNPJ = nullptr;
  QLabel* LabCount = nullptr;
  QLabel* labImportou = nullptr;
  QProgressBar* pb = nullptr;

  // The grid's data source; bound to the module's viewing set at the show.
  DataSource dsCAM;
  // The command line; its first argument is the operator's login.
  QStringList Arguments;

  void FormShow();
  void BtnSairClick();
  void cboColunaChange();
  void btnPesquisarClick();
  void DBGrid1TitleClick(int Column);
  void btnImportarClick();
  void btnProcuraCNPJClick();
  void DBGrid1DrawColumnCell(QPainter* Canvas, const QRect& Rect, const QModelIndex& Column,
                             GridDrawState State);

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void CreateControls();
  void CreateGrid();
  void ConnectHandlers();
  void BindGrid();
  void PostGridEdit();
  void DBGrid1InsertRow();
  void DBGrid1DeleteRow();
  // Connects a signal to a handler that runs inside the application's error report guard.
  template <typename Sender, typename Signal>
  void OnSignal(Sender* sender, Signal signal, void (TFTavrel::*handler)());

  Tdm* module_;
  DataSetModel* gridModel_ = nullptr;
  int gridColumn_ = 1;  // the grid's current column, the first one shown to begin with
  bool importing_ = false;
  bool shown_ = false;
};

// The program's one window, set while it exists.
extern TFTavrel* FTavrel;

template <typename Sender, typename Signal>
void TFTavrel::OnSignal(Sender* sender, Signal signal, void (TFTavrel::*handler)()) {
  connect(sender, signal, this,
          [this, handler] { Guarded([this, handler] { (this->*handler)(); }); });
}
