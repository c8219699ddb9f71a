#pragma once

#include "ui/ErrorReport.h"

#include <QWidget>

class HotTrackButton;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QTableView;

// The program's one window: every control under its own name, and the handlers of the user
// interface.
class TFTavrel : public QWidget {
  Q_OBJECT

 public:
  static inline const QString kCaption = QStringLiteral("Importador de CNPJ dos Permissionários");

  TFTavrel();

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

  void BtnSairClick();
  void cboColunaChange();

 private:
  void CreateControls();
  void CreateGrid();
  void ConnectHandlers();
  // Connects a signal to a handler that runs inside the application's error report guard.
  template <typename Sender, typename Signal>
  void OnSignal(Sender* sender, Signal signal, void (TFTavrel::*handler)());
};

template <typename Sender, typename Signal>
void TFTavrel::OnSignal(Sender* sender, Signal signal, void (TFTavrel::*handler)()) {
  connect(sender, signal, this,
          [this, handler] { Guarded([this, handler] { (this->*handler)(); }); });
}
