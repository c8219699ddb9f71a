#include "ui/UTavrel.h"

#include "ui/HotTrackButton.h"

#include <QComboBox>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <optional>

namespace {

class TFTavrelTest : public ::testing::Test {
 protected:
  void SetUp() override {
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  }

  QWidget* control(const char* name) { return window.findChild<QWidget*>(name); }

  QColor buttonFace() const { return window.palette().color(QPalette::Button); }

  void chooseColumn(const QString& column) {
    window.cboColuna->setCurrentText(column);
    window.cboColunaChange();
  }

  TFTavrel window;
};

}  // namespace

TEST_F(TFTavrelTest, IsAFixedWindowWithTitleMinimiseAndSystemMenuButNoMaximise) {
  EXPECT_EQ(window.size(), QSize(759, 590));
  EXPECT_EQ(window.minimumSize(), QSize(759, 590));
  EXPECT_EQ(window.maximumSize(), QSize(759, 590));
  EXPECT_TRUE(window.isWindow());
  const Qt::WindowFlags flags = window.windowFlags();
  EXPECT_FALSE(flags.testFlag(Qt::WindowMaximizeButtonHint));
  EXPECT_TRUE(flags.testFlag(Qt::WindowMinimizeButtonHint));
  EXPECT_TRUE(flags.testFlag(Qt::WindowSystemMenuHint));
  EXPECT_EQ(window.windowTitle(), "Importador de CNPJ dos Permissionários");
  EXPECT_EQ(window.palette().color(QPalette::Window), buttonFace());
}

TEST_F(TFTavrelTest, OpensCentredOnTheScreen) {
  const QPoint screenCentre = window.screen()->availableGeometry().center();
  const QPoint windowCentre = window.geometry().center();
  EXPECT_LE((screenCentre - windowCentre).manhattanLength(), 2);
}

TEST_F(TFTavrelTest, BandsAreStackedAtTheirHeightsAndTheGridTakesTheRest) {
  const struct {
    const char* name;
    QRect geometry;
  } bands[] = {
      {"Panel1", {0, 0, 759, 25}},     {"Panel5", {0, 25, 759, 53}},
      {"Panel3", {0, 78, 759, 19}},    {"Panel2", {0, 97, 759, 44}},
      {"DBGrid1", {0, 141, 759, 361}}, {"RzPanel1", {0, 502, 759, 42}},
      {"Panel4", {0, 544, 759, 46}},
  };
  for (const auto& b : bands) {
    QWidget* band = control(b.name);
    ASSERT_NE(band, nullptr) << b.name;
    EXPECT_EQ(band->parentWidget(), &window) << b.name;
    EXPECT_EQ(band->geometry(), b.geometry) << b.name;
  }
}

TEST_F(TFTavrelTest, BandsHaveTheirLook) {
  const QColor teal(64, 128, 128);
  for (QFrame* band : {window.Panel1, window.Panel3}) {
    EXPECT_EQ(band->palette().color(QPalette::Window), teal) << band->objectName().toStdString();
    EXPECT_TRUE(band->autoFillBackground());
    EXPECT_EQ(band->frameShape(), QFrame::Panel);
    EXPECT_EQ(band->frameShadow(), QFrame::Sunken);
  }
  for (QFrame* band : {window.Panel5, window.Panel2, window.Panel4})
    EXPECT_EQ(band->frameShape(), QFrame::NoFrame) << band->objectName().toStdString();
  EXPECT_EQ(window.RzPanel1->frameShape(), QFrame::Box);
  EXPECT_EQ(window.RzPanel1->frameShadow(), QFrame::Raised);
}

TEST_F(TFTavrelTest, ControlsSitInTheirBandsAtTheirPlaces) {
  // Sizes of -1 are not prescribed.
  const struct {
    const char* name;
    const char* band;
    QRect geometry;
  } controls[] = {
      {"Label2", "Panel1", {4, 1, -1, -1}},
      {"Label1", "Panel5", {5, 4, -1, -1}},
      {"edtCaminhoCNPJ", "Panel5", {5, 20, 605, 21}},
      {"btnProcuraCNPJ", "Panel5", {616, 18, 26, 24}},
      {"btnImportar", "Panel5", {648, 8, 103, 34}},
      {"Label8", "Panel3", {4, 1, -1, -1}},
      {"Label3", "Panel2", {5, 0, -1, -1}},
      {"edtExercicio", "Panel2", {5, 15, 51, 19}},
      {"Label4", "Panel2", {60, -1, -1, -1}},
      {"cboTipo", "Panel2", {60, 14, 93, -1}},
      {"Label5", "Panel2", {159, -1, -1, -1}},
      {"cboColuna", "Panel2", {157, 14, 93, -1}},
      {"edtCampo", "Panel2", {256, 15, 386, 21}},
      {"btnPesquisar", "Panel2", {648, 10, 103, 26}},
      {"labImpINI", "RzPanel1", {9, 4, 341, 14}},
      {"labImpFIM", "RzPanel1", {9, 20, 377, 14}},
      // Right-aligned inside the 2 px bump border, margins 1, 2, 1, 2.
      {"BtnSair", "RzPanel1", {648, 4, 108, 34}},
      // Panel4: the progress bar takes the bottom 18 px plus margins; the labels the 24 above.
      {"LabCNPJ", "Panel4", {0, 0, 420, 24}},
      {"pb", "Panel4", {1, 26, 757, 18}},
  };
  for (const auto& c : controls) {
    QWidget* widget = control(c.name);
    ASSERT_NE(widget, nullptr) << c.name;
    EXPECT_EQ(widget->parentWidget()->objectName(), c.band) << c.name;
    const QRect actual = widget->geometry();
    EXPECT_EQ(actual.topLeft(), c.geometry.topLeft()) << c.name;
    if (c.geometry.width() != -1) EXPECT_EQ(actual.width(), c.geometry.width()) << c.name;
    if (c.geometry.height() != -1) EXPECT_EQ(actual.height(), c.geometry.height()) << c.name;
  }
}

TEST_F(TFTavrelTest, CountAndImportLabelsShareTheRightOfTheBottomBand) {
  const struct {
    const char* text;
  } cases[] = {{""}, {"Importou 12"}, {"Importados 1.234 de 1.234 registros"}};
  for (const auto& c : cases) {
    window.labImportou->setText(c.text);
    window.Panel4->layout()->activate();
    const QRect importou = window.labImportou->geometry();
    const QRect count = window.LabCount->geometry();
    EXPECT_EQ(importou.right(), 758) << c.text;
    EXPECT_EQ(importou.width(), window.labImportou->sizeHint().width()) << c.text;
    EXPECT_GE(importou.width(), window.labImportou->fontMetrics().horizontalAdvance(c.text));
    EXPECT_EQ(count.width(), 172) << c.text;
    EXPECT_EQ(count.right() + 1, importou.left()) << c.text;
    EXPECT_EQ(count.height(), 24) << c.text;
  }
}

// A line of a file, or any text the run shows, is shown as it reads, also when it looks like
// markup: the label is as wide as the whole text, tags and entities included.
TEST_F(TFTavrelTest, LabelsThatShowDataShowMarkupAsText) {
  const QString markup = "<b>PARTIDO</b> &amp; <i>X</i>";
  for (QLabel* label :
       {window.LabCNPJ, window.LabCount, window.labImportou, window.labImpINI, window.labImpFIM}) {
    label->setText(markup);
    EXPECT_GE(label->sizeHint().width(), label->fontMetrics().horizontalAdvance(markup))
        << label->objectName().toStdString();
  }
}

TEST_F(TFTavrelTest, EveryControlIsFoundByItsName) {
  const std::pair<const char*, QWidget*> members[] = {
      {"Panel1", window.Panel1},
      {"Panel5", window.Panel5},
      {"Panel3", window.Panel3},
      {"Panel2", window.Panel2},
      {"DBGrid1", window.DBGrid1},
      {"RzPanel1", window.RzPanel1},
      {"Panel4", window.Panel4},
      {"Label2", window.Label2},
      {"Label1", window.Label1},
      {"edtCaminhoCNPJ", window.edtCaminhoCNPJ},
      {"btnProcuraCNPJ", window.btnProcuraCNPJ},
      {"btnImportar", window.btnImportar},
      {"Label8", window.Label8},
      {"Label3", window.Label3},
      {"edtExercicio", window.edtExercicio},
      {"Label4", window.Label4},
      {"cboTipo", window.cboTipo},
      {"Label5", window.Label5},
      {"cboColuna", window.cboColuna},
      {"edtCampo", window.edtCampo},
      {"btnPesquisar", window.btnPesquisar},
      {"labImpINI", window.labImpINI},
      {"labImpFIM", window.labImpFIM},
      {"BtnSair", window.BtnSair},
      {"LabCNPJ", window.LabCNPJ},
      {"LabCount", window.LabCount},
      {"labImportou", window.labImportou},
      {"pb", window.pb},
  };
  for (const auto& [name, member] : members) {
    ASSERT_NE(member, nullptr) << name;
    EXPECT_EQ(control(name), member) << name;
    EXPECT_EQ(window.findChildren<QWidget*>(name).size(), 1) << name;
  }
}

TEST_F(TFTavrelTest, TextsFontsAndColoursAreTheDesignedOnes) {
  const struct {
    const char* name;
    QString text;
    int pixelSize;
    bool bold;
    std::optional<QColor> textColour;
  } cases[] = {
      {"Label2", "Importador de CNPJ dos Candidatos / Partidos (Eleições 2018)", 17, true,
       Qt::white},
      {"Label1", "Caminho do arquivo que contém os CNPJs de Campanha", 11, false, {}},
      {"btnImportar", "Importar", 12, true, Qt::black},
      {"Label8", "CNPJ de Candidatos e Partidos Importados", 12, true, Qt::white},
      {"Label3", "Exercicio", 11, false, {}},
      {"edtExercicio", "2018", 11, true, {}},
      {"Label4", "Tipo", 11, false, {}},
      {"Label5", "Coluna", 11, false, {}},
      {"btnPesquisar", "Pesquisar", 13, false, {}},
      {"labImpINI", "", 12, true, {}},
      {"labImpFIM", "", 12, true, {}},
      {"BtnSair", "&Sair", 12, true, Qt::black},
      {"LabCNPJ", "", 11, false, {}},
      {"LabCount", "", 11, false, {}},
      {"labImportou", "", 12, false, Qt::red},
  };
  for (const auto& c : cases) {
    QWidget* widget = control(c.name);
    ASSERT_NE(widget, nullptr) << c.name;
    QString text;
    QPalette::ColorRole textRole = QPalette::WindowText;
    if (auto* label = qobject_cast<QLabel*>(widget)) text = label->text();
    if (auto* edit = qobject_cast<QLineEdit*>(widget)) text = edit->text();
    if (auto* button = qobject_cast<QPushButton*>(widget)) {
      text = button->text();
      textRole = QPalette::ButtonText;
    }
    EXPECT_EQ(text, c.text) << c.name;
    EXPECT_EQ(widget->font().pixelSize(), c.pixelSize) << c.name;
    EXPECT_EQ(widget->font().bold(), c.bold) << c.name;
    if (c.textColour) EXPECT_EQ(widget->palette().color(textRole), *c.textColour) << c.name;
  }
  EXPECT_EQ(window.font().pixelSize(), 11);
  EXPECT_EQ(window.DBGrid1->horizontalHeader()->font().pixelSize(), 11);
  EXPECT_EQ(window.edtExercicio->alignment(), Qt::AlignCenter);
  EXPECT_FALSE(window.Label2->autoFillBackground());
  EXPECT_FALSE(window.Label8->autoFillBackground());
}

TEST_F(TFTavrelTest, PictureButtonsHaveTheirPicturesAndFocusRules) {
  for (QPushButton* button : std::initializer_list<QPushButton*>{
           window.btnProcuraCNPJ, window.btnImportar, window.btnPesquisar, window.BtnSair}) {
    EXPECT_FALSE(button->icon().isNull()) << button->objectName().toStdString();
  }
  EXPECT_EQ(window.btnProcuraCNPJ->focusPolicy(), Qt::NoFocus);
  EXPECT_EQ(window.btnPesquisar->focusPolicy(), Qt::NoFocus);
  EXPECT_NE(window.btnImportar->focusPolicy(), Qt::NoFocus);
  EXPECT_NE(window.BtnSair->focusPolicy(), Qt::NoFocus);
}

TEST_F(TFTavrelTest, DropDownListsArePickOnlyWithTheirItemsAndTheFirstChosen) {
  const struct {
    QComboBox* combo;
    QStringList items;
  } cases[] = {
      {window.cboTipo, {"TODOS", "CANDIDATO", "PARTIDO"}},
      {window.cboColuna, {"NENHUM", "CNPJ", "NOME", "NAT JURID", "CNAE", "DATA"}},
  };
  for (const auto& c : cases) {
    QStringList items;
    for (int i = 0; i < c.combo->count(); ++i) items << c.combo->itemText(i);
    EXPECT_EQ(items, c.items);
    EXPECT_EQ(c.combo->currentIndex(), 0);
    EXPECT_FALSE(c.combo->isEditable());
  }
}

TEST_F(TFTavrelTest, FilterTextStartsEmptyDisabledAndButtonFaceColoured) {
  EXPECT_TRUE(window.edtCampo->text().isEmpty());
  EXPECT_FALSE(window.edtCampo->isEnabled());
  EXPECT_EQ(window.edtCampo->palette().color(QPalette::Base), buttonFace());
}

TEST_F(TFTavrelTest, ChoosingAColumnEnablesTheFilterTextAndNenhumClearsIt) {
  const QColor white(255, 255, 255);
  const struct {
    QString from, typed, to;
    bool enabled;
    QString text;
    QColor base;
  } cases[] = {
      {"NENHUM", "", "CNPJ", true, "", white},
      {"CNPJ", "SILVA", "NOME", true, "SILVA", white},
      {"NOME", "D'AVILA", "NAT JURID", true, "D'AVILA", white},
      {"CNAE", "15/08/2018", "DATA", true, "15/08/2018", white},
      {"DATA", "12", "DATA", true, "12", white},
      {"NOME", "SILVA", "NENHUM", false, "", QColor()},
      {"NENHUM", "", "NENHUM", false, "", QColor()},
  };
  for (const auto& c : cases) {
    const std::string name = (c.from + " -> " + c.to).toStdString();
    chooseColumn(c.from);
    window.edtCampo->setText(c.typed);
    chooseColumn(c.to);
    EXPECT_EQ(window.edtCampo->isEnabled(), c.enabled) << name;
    EXPECT_EQ(window.edtCampo->text(), c.text) << name;
    const QColor base = c.base.isValid() ? c.base : buttonFace();
    EXPECT_EQ(window.edtCampo->palette().color(QPalette::Base), base) << name;
  }
}

TEST_F(TFTavrelTest, PickingAColumnWithTheKeyboardRunsTheColumnHandler) {
  window.cboColuna->setFocus();
  QTest::keyClick(window.cboColuna, Qt::Key_Down);
  EXPECT_EQ(window.cboColuna->currentText(), "CNPJ");
  EXPECT_TRUE(window.edtCampo->isEnabled());
  window.edtCampo->setText("123");
  QTest::keyClick(window.cboColuna, Qt::Key_Up);
  EXPECT_FALSE(window.edtCampo->isEnabled());
  EXPECT_TRUE(window.edtCampo->text().isEmpty());
}

TEST_F(TFTavrelTest, SettingTheColumnFromCodeDoesNotRunTheHandler) {
  window.cboColuna->setCurrentText("NOME");
  EXPECT_FALSE(window.edtCampo->isEnabled());
}

TEST_F(TFTavrelTest, GridHasItsUsualOptions) {
  QTableView* grid = window.DBGrid1;
  EXPECT_TRUE(grid->showGrid());
  EXPECT_TRUE(grid->tabKeyNavigation());
  EXPECT_TRUE(grid->horizontalHeader()->sectionsClickable());
  EXPECT_FALSE(grid->verticalHeader()->isHidden());
  EXPECT_TRUE(grid->editTriggers().testFlag(QAbstractItemView::AnyKeyPressed));
  EXPECT_TRUE(grid->editTriggers().testFlag(QAbstractItemView::DoubleClicked));
}

TEST_F(TFTavrelTest, EscAltSAndAClickOnSairCloseTheWindow) {
  const struct {
    const char* way;
    std::function<void(TFTavrel&)> press;
  } ways[] = {
      {"click", [](TFTavrel& w) { QTest::mouseClick(w.BtnSair, Qt::LeftButton); }},
      {"Esc", [](TFTavrel& w) { QTest::keyClick(&w, Qt::Key_Escape); }},
      {"Alt+S", [](TFTavrel& w) { QTest::keyClick(&w, Qt::Key_S, Qt::AltModifier); }},
  };
  for (const auto& way : ways) {
    TFTavrel other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other)) << way.way;
    way.press(other);
    // A mnemonic presses its button with a short animation.
    EXPECT_TRUE(QTest::qWaitFor([&] { return !other.isVisible(); })) << way.way;
  }
}

TEST_F(TFTavrelTest, OtherKeysLeaveTheWindowOpen) {
  window.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
  QTest::keyClick(&window, Qt::Key_S);
  QTest::keyClick(&window, Qt::Key_Return);
  QTest::qWait(300);
  EXPECT_TRUE(window.isVisible());
}
