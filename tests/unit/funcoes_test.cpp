#include "common/funcoes.h"

#include <gtest/gtest.h>

TEST(RTrim, DropsTrailingBlanksButNeverTheFirstCharacter) {
  const struct {
    QString in, out;
  } cases[] = {
      {"ABC  ", "ABC"}, {"  ABC", "  ABC"}, {"ABC\t", "ABC\t"}, {"   ", " "},
      {" ", " "},       {"", ""},           {"A B ", "A B"},
  };
  for (const auto& c : cases) EXPECT_EQ(RTrim(c.in), c.out) << c.in.toStdString();
}

TEST(Empty, LooksAtTheFirst255CharactersOnly) {
  EXPECT_TRUE(Empty(""));
  EXPECT_TRUE(Empty("   "));
  EXPECT_FALSE(Empty(" x"));
  EXPECT_FALSE(Empty("2018"));
  EXPECT_FALSE(Empty("\t"));
  EXPECT_TRUE(Empty(QString(255, u' ') + "x"));
  EXPECT_FALSE(Empty(QString(254, u' ') + "x"));
}

TEST(InverteData, TakesThePartsByPosition) {
  EXPECT_EQ(InverteData("25/12/2018"), "12/25/2018");
  EXPECT_EQ(InverteData("01/02/2018"), "02/01/2018");
  EXPECT_EQ(InverteData("1/2/2018"), "/201/218");
  EXPECT_EQ(InverteData("15/08/2018 10:00"), "08/15/2018");
  EXPECT_EQ(InverteData(""), "");
}

TEST(IsDigit, IsARunInsideTheDigits) {
  EXPECT_TRUE(IsDigit("7"));
  EXPECT_TRUE(IsDigit("345"));
  EXPECT_FALSE(IsDigit("35"));
  EXPECT_FALSE(IsDigit("x"));
  EXPECT_FALSE(IsDigit(""));
}

TEST(OnlyDigit, KeepsAsciiDigitsOnly) {
  EXPECT_EQ(OnlyDigit("12.345.678/0001-90"), "12345678000190");
  EXPECT_EQ(OnlyDigit("abc"), "");
  EXPECT_EQ(OnlyDigit(QString::fromUtf8("1\u0663\uFF122")), "12");  // Arabic-Indic and fullwidth
}

TEST(QuotedStr, DoublesEveryQuoteInside) {
  EXPECT_EQ(QuotedStr("2018"), "'2018'");
  EXPECT_EQ(QuotedStr("%D'AVILA%"), "'%D''AVILA%'");
  EXPECT_EQ(QuotedStr("' OR '1'='1"), "''' OR ''1''=''1'");
  EXPECT_EQ(QuotedStr(""), "''");
}

TEST(asciiUpper, TurnsOnlyTheAsciiLetters) {
  const struct {
    QString in, out;
  } cases[] = {
      {"csv", "CSV"},
      {"bKaD2", "BKAD2"},
      {QString::fromUtf8("ação"), QString::fromUtf8("AçãO")},
      {QString::fromUtf8("ß ﬁ ı"), QString::fromUtf8("ß ﬁ ı")},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(asciiUpper(c.in), c.out) << c.in.toStdString();
}
