#include "ui/QtDialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

namespace {

QMessageBox::Icon IconOf(dialogs::BoxKind kind) {
  switch (kind) {
    case dialogs::BoxKind::Warning:
      return QMessageBox::Warning;
    case dialogs::BoxKind::Information:
      return QMessageBox::Information;
    case dialogs::BoxKind::Error:
      return QMessageBox::Critical;
    case dialogs::BoxKind::Confirmation:
      return QMessageBox::Question;
  }
  return QMessageBox::NoIcon;
}

}  // namespace

std::unique_ptr<QMessageBox> QtDialogs::BuildMessageBox(dialogs::BoxKind kind,
                                                        const QString& caption,
                                                        const QString& text) {
  // The program's texts break lines with a bare carriage return, which Qt does not.
  QString lines = text;
  lines.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
  auto box = std::make_unique<QMessageBox>(IconOf(kind), caption, lines, QMessageBox::NoButton,
                                           QApplication::activeWindow());
  box->setTextFormat(Qt::PlainText);
  // Set by hand: a translated Qt would label the standard buttons in its own language.
  box->addButton(QMessageBox::Ok)->setText(QStringLiteral("OK"));
  if (kind == dialogs::BoxKind::Confirmation) {
    box->addButton(QMessageBox::Cancel)->setText(QStringLiteral("Cancel"));
    box->setDefaultButton(QMessageBox::Ok);
  }
  box->setWindowModality(Qt::ApplicationModal);
  return box;
}

std::unique_ptr<QFileDialog> QtDialogs::BuildFileDialog(const QString& initialDir,
                                                        const QStringList& filters,
                                                        int filterIndex) {
  QStringList nameFilters;
  for (qsizetype i = 0; i + 1 < filters.size(); i += 2)
    nameFilters << QStringLiteral("%1 (%2)").arg(filters[i], filters[i + 1]);

  auto dialog = std::make_unique<QFileDialog>(QApplication::activeWindow());
  dialog->setAcceptMode(QFileDialog::AcceptOpen);
  dialog->setFileMode(QFileDialog::ExistingFile);
  dialog->setDirectory(initialDir);
  dialog->setNameFilters(nameFilters);
  if (filterIndex >= 1 && filterIndex <= nameFilters.size())
    dialog->selectNameFilter(nameFilters[filterIndex - 1]);
  return dialog;
}

void QtDialogs::message(dialogs::BoxKind kind, const QString& caption, const QString& text) {
  BuildMessageBox(kind, caption, text)->exec();
}

bool QtDialogs::confirm(const QString& caption, const QString& text) {
  const auto box = BuildMessageBox(dialogs::BoxKind::Confirmation, caption, text);
  box->exec();
  return box->clickedButton() == box->button(QMessageBox::Ok);
}

dialogs::FileChoice QtDialogs::openFile(const QString& initialDir, const QStringList& filters,
                                        int filterIndex) {
  const auto dialog = BuildFileDialog(initialDir, filters, filterIndex);
  dialogs::FileChoice choice;
  choice.filterIndex = filterIndex;
  if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty()) return choice;
  choice.confirmed = true;
  choice.path = QDir::toNativeSeparators(dialog->selectedFiles().constFirst());
  choice.filterIndex = dialog->nameFilters().indexOf(dialog->selectedNameFilter()) + 1;
  return choice;
}
