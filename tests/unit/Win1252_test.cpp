#include "common/Win1252.h"

#include <gtest/gtest.h>

namespace {

TEST(Win1252, EveryByteRoundTrips) {
  QByteArray all;
  for (int b = 0; b < 256; ++b) all.append(static_cast<char>(b));
  const QString text = win1252::decode(all);
  ASSERT_EQ(text.size(), 256);
  EXPECT_EQ(win1252::encode(text), all);
}

TEST(Win1252, DecodesThePrintableCharactersOfTheCodePage) {
  EXPECT_EQ(win1252::decode("\x80\x8A\x9F\xC7\xE3\xE9"), QString::fromUtf8("€ŠŸÇãé"));
}

TEST(Win1252, WritesAQuestionMarkForWhatTheCodePageLacks) {
  const struct {
    QString text;
    QByteArray bytes;
  } cases[] = {
      {QString::fromUtf8("São Paulo"), "S\xE3o Paulo"},
      {QString::fromUtf8("日本"), "??"},
      {QString(QChar(0x0080)), "?"},  // its byte stands for the euro sign
      {QString::fromUtf8("€ Ω"), "\x80 ?"},
      {QString::fromUtf8("😀"), "??"},  // one per UTF-16 unit
  };
  for (const auto& c : cases) EXPECT_EQ(win1252::encode(c.text), c.bytes) << c.text.toStdString();
}

}  // namespace
