#include "ui/UTavrel.h"

#include "ui/HotTrackButton.h"

#include <QComboBox>
#include <QLineEdit>

void TFTavrel::ConnectHandlers() {
  OnSignal(BtnSair, &QPushButton::clicked, &TFTavrel::BtnSairClick);
  // activated: a choice of the operator, not a change made from code.
  OnSignal(cboColuna, &QComboBox::activated, &TFTavrel::cboColunaChange);
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
