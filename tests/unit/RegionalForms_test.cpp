#include "common/RegionalForms.h"

#include <gtest/gtest.h>

namespace {

class RegionalFormsTest : public ::testing::Test {
 protected:
  void TearDown() override { SetRegionalLocale(std::nullopt); }
};

const QLocale kBrazil(QLocale::Portuguese, QLocale::Brazil);

TEST_F(RegionalFormsTest, BrazilianFormsAlsoStandInForTheCLocale) {
  for (const QLocale& locale : {kBrazil, QLocale::c()}) {
    SetRegionalLocale(locale);
    EXPECT_EQ(ShortDateFormat(), "dd/MM/yyyy");
    EXPECT_EQ(LongTimeFormat(), "HH:mm:ss");
    EXPECT_EQ(DateToStr(QDate(2018, 9, 6)), "06/09/2018");
    EXPECT_EQ(DateTimeToStr(QDateTime(QDate(2018, 9, 26), QTime(4, 3, 2), Qt::UTC)),
              "26/09/2018 04:03:02");
  }
}

TEST_F(RegionalFormsTest, LongTimeFormNamesNoTimeZone) {
  const struct {
    QLocale locale;
    QString format;
  } cases[] = {
      {QLocale(QLocale::English, QLocale::UnitedStates), "h:mm:ss AP"},
      {QLocale(QLocale::Chinese, QLocale::China), "HH:mm:ss"},
      {QLocale(QLocale::German, QLocale::Germany), "HH:mm:ss"},
  };
  for (const auto& c : cases) {
    SetRegionalLocale(c.locale);
    EXPECT_EQ(LongTimeFormat(), c.format) << c.locale.name().toStdString();
  }
}

TEST_F(RegionalFormsTest, ReadsBrazilianDates) {
  SetRegionalLocale(kBrazil);
  const struct {
    QString text;
    QDate date;  // invalid: refused
  } cases[] = {
      {"15/08/2018", QDate(2018, 8, 15)},
      {"5/8/2018", QDate(2018, 8, 5)},
      {"  15/08/2018 ", QDate(2018, 8, 15)},
      {"15 / 08 / 2018", QDate(2018, 8, 15)},
      {"29/02/2020", QDate(2020, 2, 29)},
      {"31/12/9999", QDate(9999, 12, 31)},
      {"31/02/2018", {}},
      {"29/02/2019", {}},
      {"00/01/2018", {}},
      {"15/13/2018", {}},
      {"15/08/201", {}},
      {"15/08/02018", {}},
      {"015/08/2018", {}},
      {"15/008/2018", {}},
      {"15/08/0000", {}},
      {"15-08-2018", {}},
      {"15/08", {}},
      {"15/08/2018 10:00", {}},
      {"15/08/2018x", {}},
      {"+15/08/2018", {}},
      {QString::fromUtf8("１５/08/2018"), {}},
      {"// :", {}},
      {"", {}},
  };
  for (const auto& c : cases) {
    bool ok = !c.date.isValid();
    EXPECT_EQ(StrToDate(c.text, &ok), c.date) << c.text.toStdString();
    EXPECT_EQ(ok, c.date.isValid()) << c.text.toStdString();
  }
}

TEST_F(RegionalFormsTest, TwoDigitYearsFallWithinFiftyYearsBackAndFortyNineAhead) {
  SetRegionalLocale(kBrazil);
  const int now = QDate::currentDate().year();
  for (const int year : {now - 50, now - 1, now, now + 10, now + 49}) {
    const QString text = QString("01/02/%1").arg(year % 100, 2, 10, QChar(u'0'));
    EXPECT_EQ(StrToDate(text), QDate(year, 2, 1)) << text.toStdString();
  }
}

TEST_F(RegionalFormsTest, ReadsDatesWithAnOptionalTime) {
  SetRegionalLocale(kBrazil);
  const struct {
    QString text;
    QDateTime value;  // invalid: refused
  } cases[] = {
      {"26/09/2018", QDateTime(QDate(2018, 9, 26), QTime(0, 0), Qt::UTC)},
      {"26/09/2018 14:30", QDateTime(QDate(2018, 9, 26), QTime(14, 30), Qt::UTC)},
      {"26/09/2018 14:30:15", QDateTime(QDate(2018, 9, 26), QTime(14, 30, 15), Qt::UTC)},
      {" 26/09/2018  9:05 ", QDateTime(QDate(2018, 9, 26), QTime(9, 5), Qt::UTC)},
      {"6/9/2018 23:59:59", QDateTime(QDate(2018, 9, 6), QTime(23, 59, 59), Qt::UTC)},
      {"26/09/2018 24:00", {}},
      {"26/09/2018 14:60", {}},
      {"26/09/2018 14:30:60", {}},
      {"26/09/2018 14", {}},
      {"26/09/2018 14:", {}},
      {"26/09/2018 14:30:", {}},
      {"26/09/2018 014:30", {}},
      {"26/09/2018 14:30:15 x", {}},
      {"26/09/2018 14:30:15:01", {}},
      {"26/09/201814:30", {}},
      {"26/09/2018T14:30", {}},
      {"26/09/2018:14:30", {}},
      {"31/02/2018 10:00", {}},
      {"// :", {}},
      {"", {}},
  };
  for (const auto& c : cases) {
    bool ok = !c.value.isValid();
    const QDateTime read = StrToDateTime(c.text, &ok);
    EXPECT_EQ(read, c.value) << c.text.toStdString();
    EXPECT_EQ(ok, c.value.isValid()) << c.text.toStdString();
    if (c.value.isValid()) EXPECT_EQ(read.timeSpec(), Qt::UTC) << c.text.toStdString();
  }
}

TEST_F(RegionalFormsTest, OtherLocalesReadInTheOrderAndWithTheSeparatorOfTheirShortForm) {
  const QLocale us(QLocale::English, QLocale::UnitedStates);
  const QLocale germany(QLocale::German, QLocale::Germany);
  const QLocale sweden(QLocale::Swedish, QLocale::Sweden);
  const struct {
    QLocale locale;
    QString text;
    QDate date;
  } cases[] = {
      {us, "8/15/2018", QDate(2018, 8, 15)},       {us, "15/08/2018", {}},
      {germany, "15.08.2018", QDate(2018, 8, 15)}, {germany, "15/08/2018", {}},
      {sweden, "2018-08-15", QDate(2018, 8, 15)},  {sweden, "15-08-2018", {}},
  };
  for (const auto& c : cases) {
    SetRegionalLocale(c.locale);
    EXPECT_EQ(StrToDate(c.text), c.date)
        << c.locale.name().toStdString() << " " << c.text.toStdString();
  }
}

TEST_F(RegionalFormsTest, WrittenTextReadsBack) {
  const QDateTime moment(QDate(2018, 9, 26), QTime(14, 30, 15), Qt::UTC);
  for (const QLocale& locale : {kBrazil, QLocale(QLocale::German, QLocale::Germany),
                                QLocale(QLocale::Swedish, QLocale::Sweden)}) {
    SetRegionalLocale(locale);
    EXPECT_EQ(StrToDate(DateToStr(moment.date())), moment.date()) << locale.name().toStdString();
    EXPECT_EQ(StrToDateTime(DateTimeToStr(moment)), moment) << locale.name().toStdString();
  }
}

}  // namespace
