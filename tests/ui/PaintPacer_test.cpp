#include "ui/PaintPacer.h"

#include <QCoreApplication>
#include <QDialog>
#include <QLabel>
#include <QVBoxLayout>

#include <gtest/gtest.h>

#include "support/LabelWatch.h"
#include "support/QtPrinters.h"

namespace {

// A window whose panel holds a label, as the import's progress panel does.
struct PanelWindow {
  PanelWindow() {
    auto* rows = new QVBoxLayout(panel);
    rows->addWidget(label);
    (new QVBoxLayout(&window))->addWidget(panel);
    window.show();
    QCoreApplication::processEvents();
  }

  // Lines as an import sets them, each followed by the window's pending events.
  void setLines(PaintPacer& pacer, int from, int to) {
    for (int line = from; line <= to; ++line) {
      label->setText(QStringLiteral("linha %1").arg(line));
      pacer.changed();
      QCoreApplication::processEvents();
    }
  }

  bool labelFitsItsText() const { return label->width() >= label->sizeHint().width(); }

  QWidget window;
  QWidget* panel = new QWidget(&window);
  QLabel* label = new QLabel(QStringLiteral("0"), panel);
};

TEST(PaintPacer, ShowsThePresentContentWhenABoxBlocksTheWindowAndWhenItGoes) {
  PanelWindow shown;
  tavrel::test::LabelWatch watch(shown.label);
  {
    PaintPacer pacer(shown.panel);
    shown.setLines(pacer, 1, 2000);

    QDialog box(&shown.window);
    box.setModal(true);
    box.show();
    QCoreApplication::processEvents();
    ASSERT_FALSE(watch.painted.isEmpty());
    EXPECT_EQ(watch.painted.last(), "linha 2000");
    EXPECT_TRUE(shown.labelFitsItsText());
    box.hide();
    QCoreApplication::processEvents();

    shown.setLines(pacer, 2001, 30000);
  }
  EXPECT_EQ(watch.painted.last(), "linha 30000");
  EXPECT_TRUE(shown.labelFitsItsText());

  // Gone, it holds nothing back.
  shown.label->setText("fim");
  QCoreApplication::processEvents();
  EXPECT_EQ(watch.painted.last(), "fim");
}

}  // namespace
