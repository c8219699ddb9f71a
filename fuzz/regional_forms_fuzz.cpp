#include "FuzzSupport.h"

#include "common/RegionalForms.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  SetRegionalLocale(QLocale(QLocale::Portuguese, QLocale::Brazil));
  return 0;
}

// Whatever converts must come back the same through its own text.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QString text = QString::fromUtf8(fuzzBytes(data, size));

  bool dateOk = false;
  const QDate date = StrToDate(text, &dateOk);
  FUZZ_CHECK(dateOk == date.isValid());
  if (dateOk) {
    bool again = false;
    FUZZ_CHECK(StrToDate(DateToStr(date), &again) == date && again);
  }

  bool dateTimeOk = false;
  const QDateTime dateTime = StrToDateTime(text, &dateTimeOk);
  FUZZ_CHECK(dateTimeOk == dateTime.isValid());
  if (dateTimeOk) {
    FUZZ_CHECK(dateTime.timeSpec() == Qt::UTC && dateTime.time().msec() == 0);
    bool again = false;
    FUZZ_CHECK(StrToDateTime(DateTimeToStr(dateTime), &again) == dateTime && again);
  }

  // A date alone is a date-time at midnight.
  if (dateOk) FUZZ_CHECK(dateTimeOk && dateTime == QDateTime(date, QTime(0, 0), Qt::UTC));
  return 0;
}
