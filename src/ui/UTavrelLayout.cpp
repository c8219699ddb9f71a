#include "ui/ButtonPictures.h"
#include "ui/GridTitleHeader.h"
#include "ui/HotTrackButton.h"
#include "ui/RowIndicatorHeader.h"
#include "ui/UTavrel.h"

#include <QComboBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QShortcut>
#include <QStyle>
#include <QTableView>
#include <QVBoxLayout>

namespace {

const QColor kTeal(64, 128, 128);

// Sizes are pixel heights, as the window was drawn at 96 dpi. Where the family is missing the
// nearest sans-serif face stands in at the same height.
QFont PixelFont(const QString& family, int pixelSize, bool bold = false) {
  QFont font(family);
  // Where the Windows fonts are missing, Liberation Sans keeps their widths closest, so fixed
  // labels still hold their texts; any sans-serif after that.
  font.setFamilies({family, QStringLiteral("Liberation Sans")});
  font.setStyleHint(QFont::SansSerif);
  font.setPixelSize(pixelSize);
  font.setBold(bold);
  return font;
}

template <typename Widget>
Widget* Named(Widget* widget, const char* name) {
  widget->setObjectName(QString::fromLatin1(name));
  return widget;
}

QFrame* Band(QWidget* window, const char* name, int height) {
  auto* band = Named(new QFrame(window), name);
  band->setFixedHeight(height);
  return band;
}

void Teal(QFrame* band) {
  band->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  band->setAutoFillBackground(true);
  QPalette palette = band->palette();
  palette.setColor(QPalette::Window, kTeal);
  band->setPalette(palette);
}

QLabel* Label(QWidget* band, const char* name, const QString& text, QPoint at) {
  auto* label = Named(new QLabel(text, band), name);
  label->move(at);
  label->adjustSize();
  return label;
}

QLabel* Title(QWidget* band, const char* name, const QString& text, int pixelSize) {
  auto* label = Named(new QLabel(text, band), name);
  label->setFont(PixelFont(QStringLiteral("MS Sans Serif"), pixelSize, true));
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, Qt::white);
  label->setPalette(palette);
  label->move(4, 1);
  label->adjustSize();
  return label;
}

void BlackText(QWidget* widget) {
  QPalette palette = widget->palette();
  palette.setColor(QPalette::ButtonText, Qt::black);
  widget->setPalette(palette);
}

QComboBox* PickList(QWidget* band, const char* name, const QStringList& items, QRect at) {
  auto* combo = Named(new QComboBox(band), name);
  combo->addItems(items);
  combo->setCurrentIndex(0);
  combo->setGeometry(at);
  return combo;
}

}  // namespace

TFTavrel::TFTavrel(Tdm* module) : module_(module) {
  FTavrel = this;
  setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                 Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                 Qt::WindowCloseButtonHint);
  setWindowTitle(kCaption);
  setFont(PixelFont(QStringLiteral("Tahoma"), 11));
  QPalette palette = this->palette();
  palette.setColor(QPalette::Window, palette.color(QPalette::Button));
  setPalette(palette);
  setAutoFillBackground(true);
  setFixedSize(759, 590);
  setGeometry(
      QStyle::alignedRect(Qt::LeftToRight, Qt::AlignCenter, size(), screen()->availableGeometry()));

  CreateControls();
  ConnectHandlers();
  // edtCampo starts in the state that the first column choice, "NENHUM", gives it.
  cboColunaChange();
}

void TFTavrel::CreateControls() {
  auto* bands = new QVBoxLayout(this);
  bands->setContentsMargins(0, 0, 0, 0);
  bands->setSpacing(0);

  Panel1 = Band(this, "Panel1", 25);
  Teal(Panel1);
  Label2 =
      Title(Panel1, "Label2",
            QStringLiteral("Importador de CNPJ dos Candidatos / Partidos (Eleições 2018)"), 17);

  Panel5 = Band(this, "Panel5", 53);
  Label1 = Label(Panel5, "Label1",
                 QStringLiteral("Caminho do arquivo que contém os CNPJs de Campanha"), {5, 4});
  edtCaminhoCNPJ = Named(new QLineEdit(Panel5), "edtCaminhoCNPJ");
  edtCaminhoCNPJ->setGeometry(5, 20, 605, 21);
  btnProcuraCNPJ = Named(new QPushButton(Panel5), "btnProcuraCNPJ");
  btnProcuraCNPJ->setGeometry(616, 18, 26, 24);
  btnProcuraCNPJ->setFocusPolicy(Qt::NoFocus);
  btnProcuraCNPJ->setIcon(ButtonPictures::FolderWithMagnifier(16));
  btnProcuraCNPJ->setIconSize({16, 16});
  btnImportar = Named(new HotTrackButton(QStringLiteral("Importar"), Panel5), "btnImportar");
  btnImportar->setGeometry(648, 8, 103, 34);
  btnImportar->setFont(PixelFont(QStringLiteral("Tahoma"), 12, true));
  BlackText(btnImportar);
  btnImportar->setIcon(ButtonPictures::FolderWithArrowIn(24));
  btnImportar->setIconSize({24, 24});

  Panel3 = Band(this, "Panel3", 19);
  Teal(Panel3);
  Label8 = Title(Panel3, "Label8", QStringLiteral("CNPJ de Candidatos e Partidos Importados"), 12);

  Panel2 = Band(this, "Panel2", 44);
  Label3 = Label(Panel2, "Label3", QStringLiteral("Exercicio"), {5, 0});
  edtExercicio = Named(new QLineEdit(QStringLiteral("2018"), Panel2), "edtExercicio");
  edtExercicio->setGeometry(5, 15, 51, 19);
  edtExercicio->setAlignment(Qt::AlignCenter);
  edtExercicio->setFont(PixelFont(QStringLiteral("Tahoma"), 11, true));
  Label4 = Label(Panel2, "Label4", QStringLiteral("Tipo"), {60, -1});
  cboTipo = PickList(Panel2, "cboTipo", {"TODOS", "CANDIDATO", "PARTIDO"}, {60, 14, 93, 21});
  Label5 = Label(Panel2, "Label5", QStringLiteral("Coluna"), {159, -1});
  cboColuna = PickList(Panel2, "cboColuna", {"NENHUM", "CNPJ", "NOME", "NAT JURID", "CNAE", "DATA"},
                       {157, 14, 93, 21});
  edtCampo = Named(new QLineEdit(Panel2), "edtCampo");
  edtCampo->setGeometry(256, 15, 386, 21);
  btnPesquisar = Named(new QPushButton(QStringLiteral("Pesquisar"), Panel2), "btnPesquisar");
  btnPesquisar->setGeometry(648, 10, 103, 26);
  btnPesquisar->setFocusPolicy(Qt::NoFocus);
  btnPesquisar->setFont(PixelFont(QStringLiteral("MS Sans Serif"), 13));
  // The style leaves 4 px between picture and text; 4 empty columns make the 8 px wanted.
  btnPesquisar->setIcon(ButtonPictures::Magnifier(16, 4));
  btnPesquisar->setIconSize({20, 16});

  CreateGrid();

  RzPanel1 = Band(this, "RzPanel1", 42);
  RzPanel1->setFrameStyle(QFrame::Box | QFrame::Raised);  // a bump: a raised ridge
  RzPanel1->setFont(PixelFont(QStringLiteral("Tahoma"), 12, true));
  labImpINI = Named(new QLabel(RzPanel1), "labImpINI");
  labImpINI->setGeometry(9, 4, 341, 14);
  labImpFIM = Named(new QLabel(RzPanel1), "labImpFIM");
  labImpFIM->setGeometry(9, 20, 377, 14);
  BtnSair = Named(new HotTrackButton(QStringLiteral("&Sair"), RzPanel1), "BtnSair");
  BtnSair->setFixedWidth(108);
  BtnSair->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
  BtnSair->setFont(PixelFont(QStringLiteral("Tahoma"), 12, true));
  BlackText(BtnSair);
  BtnSair->setIcon(ButtonPictures::WindowWithArrowOut(24));
  BtnSair->setIconSize({24, 24});
  auto* sairRow = new QHBoxLayout(RzPanel1);
  sairRow->setContentsMargins(1, 2, 1, 2);
  sairRow->addStretch();
  sairRow->addWidget(BtnSair);
  // The window's cancel button: Esc presses it, as Alt+S does through its text.
  connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, BtnSair,
          &QPushButton::click);

  Panel4 = Band(this, "Panel4", 46);
  LabCNPJ = Named(new QLabel(Panel4), "LabCNPJ");
  LabCNPJ->setFixedWidth(420);
  LabCNPJ->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  LabCount = Named(new QLabel(Panel4), "LabCount");
  LabCount->setFixedWidth(172);
  LabCount->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  labImportou = Named(new QLabel(Panel4), "labImportou");
  labImportou->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
  labImportou->setAlignment(Qt::AlignRight | Qt::AlignTop);
  labImportou->setFont(PixelFont(QStringLiteral("Tahoma"), 12));
  QPalette red = labImportou->palette();
  red.setColor(QPalette::WindowText, Qt::red);
  labImportou->setPalette(red);
  pb = Named(new QProgressBar(Panel4), "pb");
  pb->setFixedHeight(18);
  pb->setRange(0, 100);
  pb->setValue(0);
  pb->setTextVisible(false);
  auto* labels = new QHBoxLayout;
  labels->setContentsMargins(0, 0, 0, 0);
  labels->setSpacing(0);
  labels->addWidget(LabCNPJ);
  labels->addStretch();
  labels->addWidget(LabCount);
  labels->addWidget(labImportou);
  auto* pbRow = new QHBoxLayout;
  pbRow->setContentsMargins(1, 2, 1, 2);
  pbRow->addWidget(pb);
  auto* panel4Rows = new QVBoxLayout(Panel4);
  panel4Rows->setContentsMargins(0, 0, 0, 0);
  panel4Rows->setSpacing(0);
  panel4Rows->addLayout(labels, 1);
  panel4Rows->addLayout(pbRow);

  // These show what the run reads and counts: a line that looks like markup is shown as read.
  for (QLabel* label : {labImpINI, labImpFIM, LabCNPJ, LabCount, labImportou}) {
    label->setTextFormat(Qt::PlainText);
  }

  for (QWidget* band : {Panel1, Panel5, Panel3, Panel2}) bands->addWidget(band);
  bands->addWidget(DBGrid1, 1);
  bands->addWidget(RzPanel1);
  bands->addWidget(Panel4);
}

void TFTavrel::CreateGrid() {
  DBGrid1 = Named(new QTableView(this), "DBGrid1");
  DBGrid1->setVerticalHeader(new RowIndicatorHeader(DBGrid1));
  DBGrid1->setHorizontalHeader(new GridTitleHeader(DBGrid1));
  DBGrid1->horizontalHeader()->setFont(PixelFont(QStringLiteral("Tahoma"), 11));
  DBGrid1->setShowGrid(true);
  DBGrid1->setTabKeyNavigation(true);
  DBGrid1->setSelectionBehavior(QAbstractItemView::SelectItems);
  DBGrid1->setSelectionMode(QAbstractItemView::SingleSelection);
  DBGrid1->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                           QAbstractItemView::AnyKeyPressed);
}
