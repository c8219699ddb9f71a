#include "ui/QtDialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <functional>

namespace {

// Acts on the modal dialog that the code under test is about to run.
template <typename Dialog>
void WhenShown(std::function<void(Dialog&)> act) {
  QTimer::singleShot(0, [act] {
    auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
    ASSERT_NE(dialog, nullptr);
    act(*dialog);
  });
}

QDir FolderWith(const QTemporaryDir& dir, const QStringList& names) {
  for (const QString& name : names) {
    QFile file(dir.filePath(name));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
  }
  return QDir(dir.path());
}

}  // namespace

TEST(QtDialogs, MessageBoxHasTheCaptionTheIconOfItsKindAndOneOkButton) {
  const struct {
    dialogs::BoxKind kind;
    QMessageBox::Icon icon;
  } cases[] = {
      {dialogs::BoxKind::Warning, QMessageBox::Warning},
      {dialogs::BoxKind::Information, QMessageBox::Information},
      {dialogs::BoxKind::Error, QMessageBox::Critical},
  };
  for (const auto& c : cases) {
    const auto box = QtDialogs::BuildMessageBox(c.kind, "Legenda", "Texto da mensagem");
    EXPECT_EQ(box->icon(), c.icon);
    EXPECT_EQ(box->windowTitle(), "Legenda");
    EXPECT_EQ(box->text(), "Texto da mensagem");
    ASSERT_EQ(box->buttons().size(), 1);
    EXPECT_EQ(box->buttons().constFirst()->text(), "OK");
    EXPECT_EQ(box->windowModality(), Qt::ApplicationModal);
  }
}

TEST(QtDialogs, CarriageReturnsBreakTheTextIntoLines) {
  const auto box =
      QtDialogs::BuildMessageBox(dialogs::BoxKind::Error, "Erro", "Atenção!!! \r\rViolação\r\nFim");
  EXPECT_EQ(box->text(), "Atenção!!! \n\nViolação\nFim");
  EXPECT_EQ(box->textFormat(), Qt::PlainText);
}

TEST(QtDialogs, MessageReturnsWhenTheOperatorPressesOk) {
  QString shownCaption;
  WhenShown<QMessageBox>([&](QMessageBox& box) {
    shownCaption = box.windowTitle();
    box.buttons().constFirst()->click();
  });
  QtDialogs().message(dialogs::BoxKind::Warning, "Warning", "O Exercicio é Obrigatório!");
  EXPECT_EQ(shownCaption, "Warning");
}

TEST(QtDialogs, ConfirmationAsksWithOkAndCancelAndTellsWhichWasPressed) {
  const auto box =
      QtDialogs::BuildMessageBox(dialogs::BoxKind::Confirmation, "Confirm", "Delete record?");
  EXPECT_EQ(box->icon(), QMessageBox::Question);
  ASSERT_EQ(box->buttons().size(), 2);
  EXPECT_EQ(box->button(QMessageBox::Ok)->text(), "OK");
  EXPECT_EQ(box->button(QMessageBox::Cancel)->text(), "Cancel");
  EXPECT_EQ(static_cast<QAbstractButton*>(box->defaultButton()), box->button(QMessageBox::Ok));

  const struct {
    QMessageBox::StandardButton pressed;
    bool confirmed;
  } cases[] = {{QMessageBox::Ok, true}, {QMessageBox::Cancel, false}};
  for (const auto& c : cases) {
    QString shownText;
    WhenShown<QMessageBox>([&](QMessageBox& shown) {
      shownText = shown.text();
      shown.button(c.pressed)->click();
    });
    EXPECT_EQ(QtDialogs().confirm("Confirm", "Delete record?"), c.confirmed);
    EXPECT_EQ(shownText, "Delete record?");
  }
}

TEST(QtDialogs, FileDialogOpensInTheFolderWithTheFiltersAndTheChosenEntry) {
  QTemporaryDir dir;
  for (int index : {1, 2}) {
    const auto dialog =
        QtDialogs::BuildFileDialog(dir.path(), {"TXT", "*.txt", "CSV", "*.csv"}, index);
    EXPECT_EQ(dialog->nameFilters(), QStringList({"TXT (*.txt)", "CSV (*.csv)"}));
    EXPECT_EQ(dialog->selectedNameFilter(), dialog->nameFilters()[index - 1]);
    EXPECT_EQ(QFileInfo(dialog->directory().path()), QFileInfo(dir.path()));
    EXPECT_EQ(dialog->fileMode(), QFileDialog::ExistingFile);
  }
}

TEST(QtDialogs, OpenFileReturnsThePathAndTheFilterInUseWhenConfirmed) {
  QTemporaryDir dir;
  const QDir folder = FolderWith(dir, {"cnpj.txt", "cnpj.csv"});
  WhenShown<QFileDialog>([&](QFileDialog& dialog) {
    dialog.selectNameFilter("CSV (*.csv)");
    dialog.selectFile(folder.filePath("cnpj.csv"));
    static_cast<QDialog&>(dialog).accept();  // QFileDialog::accept, which checks the file
  });
  const dialogs::FileChoice choice =
      QtDialogs().openFile(dir.path(), {"TXT", "*.txt", "CSV", "*.csv"}, 1);
  EXPECT_TRUE(choice.confirmed);
  EXPECT_EQ(QFileInfo(choice.path), QFileInfo(folder.filePath("cnpj.csv")));
  EXPECT_EQ(choice.filterIndex, 2);
}

TEST(QtDialogs, OpenFileReportsACancel) {
  QTemporaryDir dir;
  WhenShown<QFileDialog>([](QFileDialog& dialog) { dialog.reject(); });
  const dialogs::FileChoice choice =
      QtDialogs().openFile(dir.path(), {"TXT", "*.txt", "CSV", "*.csv"}, 2);
  EXPECT_FALSE(choice.confirmed);
  EXPECT_TRUE(choice.path.isEmpty());
}
