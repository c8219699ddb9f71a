#include "ui/HotTrackButton.h"

#include <QCoreApplication>
#include <QEnterEvent>
#include <QImage>
#include <QPalette>

#include <gtest/gtest.h>

namespace {

void Enter(HotTrackButton& button) {
  QEnterEvent event(QPointF(10, 10), QPointF(10, 10), QPointF(10, 10));
  QCoreApplication::sendEvent(&button, &event);
}

void Leave(HotTrackButton& button) {
  QEvent event(QEvent::Leave);
  QCoreApplication::sendEvent(&button, &event);
}

QColor PixelAt(HotTrackButton& button, QPoint at) {
  return button.grab().toImage().pixelColor(at);
}

}  // namespace

TEST(HotTrackButton, LightsUpUnderThePointerWithAHighlightFrame) {
  HotTrackButton button("Importar");
  button.resize(103, 34);
  const QPoint face(6, 6), frame(1, 17);
  const QColor restingFace = PixelAt(button, face);
  EXPECT_NE(restingFace, HotTrackButton::kHotTrack);

  Enter(button);
  EXPECT_TRUE(button.isHot());
  EXPECT_EQ(PixelAt(button, face), HotTrackButton::kHotTrack);
  EXPECT_EQ(PixelAt(button, frame), HotTrackButton::kHighlight);

  Leave(button);
  EXPECT_FALSE(button.isHot());
  EXPECT_EQ(PixelAt(button, face), restingFace);
}

TEST(HotTrackButton, StaysPlainWhileDisabled) {
  HotTrackButton button("Sair");
  button.resize(108, 34);
  button.setEnabled(false);
  const QColor restingFace = PixelAt(button, {6, 6});
  Enter(button);
  EXPECT_EQ(PixelAt(button, {6, 6}), restingFace);
}

TEST(HotTrackButton, WritesItsTextInTheButtonFaceColourWhenHot) {
  HotTrackButton button("MMMM");
  button.resize(103, 34);
  QFont font = button.font();
  font.setPixelSize(20);
  font.setBold(true);
  button.setFont(font);
  Enter(button);
  const QImage image = button.grab().toImage();
  const QColor buttonFace = button.palette().color(QPalette::Button);
  bool textInFaceColour = false;
  for (int x = 20; x < 83; ++x)
    textInFaceColour = textInFaceColour || image.pixelColor(x, 17) == buttonFace;
  EXPECT_TRUE(textInFaceColour);
}
