#include "ui/ButtonPictures.h"

#include <QImage>
#include <QPixmap>

#include <gtest/gtest.h>

#include <functional>

namespace {

QImage ImageOf(const QIcon& icon, QSize size, QIcon::Mode mode) {
  return icon.pixmap(size, mode).toImage().convertToFormat(QImage::Format_ARGB32);
}

bool AnyPixel(const QImage& image, const std::function<bool(QColor)>& test) {
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x)
      if (image.pixelColor(x, y).alpha() > 200 && test(image.pixelColor(x, y))) return true;
  return false;
}

bool IsYellow(QColor c) {
  return c.red() > 200 && c.green() > 150 && c.blue() < 120;
}
bool IsGreen(QColor c) {
  return c.green() > 120 && c.red() < 100 && c.blue() < 100;
}
bool IsBlue(QColor c) {
  return c.blue() > 150 && c.red() < 100;
}
bool IsPaleBlueGlass(QColor c) {
  return c.blue() > 200 && c.red() < c.blue() - 30;
}

}  // namespace

TEST(ButtonPictures, EachPictureShowsItsColoursAndHasAGreyedImageForTheDisabledState) {
  const struct {
    const char* name;
    QIcon icon;
    QSize size;
    std::function<bool(QColor)> characteristic;
  } cases[] = {
      {"folder with magnifier", ButtonPictures::FolderWithMagnifier(16), {16, 16}, IsYellow},
      {"folder with arrow in", ButtonPictures::FolderWithArrowIn(24), {24, 24}, IsGreen},
      {"magnifier", ButtonPictures::Magnifier(16, 4), {20, 16}, IsPaleBlueGlass},
      {"window with arrow out", ButtonPictures::WindowWithArrowOut(24), {24, 24}, IsBlue},
  };
  for (const auto& c : cases) {
    const QImage normal = ImageOf(c.icon, c.size, QIcon::Normal);
    const QImage disabled = ImageOf(c.icon, c.size, QIcon::Disabled);
    ASSERT_EQ(normal.size(), c.size) << c.name;
    EXPECT_TRUE(AnyPixel(normal, c.characteristic)) << c.name;
    EXPECT_TRUE(AnyPixel(disabled, [](QColor) { return true; })) << c.name;
    EXPECT_FALSE(AnyPixel(disabled, [](QColor p) {
      return p.red() != p.green() || p.green() != p.blue();
    })) << c.name;
    EXPECT_FALSE(AnyPixel(disabled, c.characteristic)) << c.name;
  }
}

TEST(ButtonPictures, MagnifierLeavesTheRoomAskedForAfterThePicture) {
  const QImage image = ImageOf(ButtonPictures::Magnifier(16, 4), {20, 16}, QIcon::Normal);
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 16; x < 20; ++x) EXPECT_EQ(image.pixelColor(x, y).alpha(), 0) << x << "," << y;
  }
  EXPECT_TRUE(AnyPixel(image.copy(12, 0, 4, 16), [](QColor) { return true; }));
}
