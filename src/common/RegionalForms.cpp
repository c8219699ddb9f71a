#include "common/RegionalForms.h"

#include <QTime>

#include <array>

namespace {

std::optional<QLocale> overridden;

// Qt format strings carry literal text between single quotes; what is left names the fields.
QString withoutLiterals(const QString& format) {
  QString fields;
  bool quoted = false;
  for (const QChar c : format) {
    if (c == u'\'') {
      quoted = !quoted;
    } else if (!quoted) {
      fields += c;
    }
  }
  return fields;
}

QChar separatorOf(const QString& format, QChar fallback) {
  for (const QChar c : withoutLiterals(format)) {
    if (c.isPunct() || c.isSymbol()) return c;
  }
  return fallback;
}

// The date's fields as they stand in the short form: 'd', 'M' and 'y'.
std::array<QChar, 3> dateOrderOf(const QString& format) {
  QString order;
  for (const QChar c : withoutLiterals(format)) {
    if ((c == u'd' || c == u'M' || c == u'y') && !order.contains(c)) order += c;
  }
  if (order.size() != 3) return {u'd', u'M', u'y'};
  return {order[0], order[1], order[2]};
}

int inCenturyWindow(int twoDigitYear) {
  const int base = QDate::currentDate().year() - 50;
  const int year = base / 100 * 100 + twoDigitYear;
  return year < base ? year + 100 : year;
}

class Scanner {
 public:
  explicit Scanner(QStringView text) : text_(text) {}

  // A run of ASCII digits after any blanks; false when there is none or it is too long.
  bool number(int* value, qsizetype* digits) {
    skipBlanks();
    const qsizetype start = pos_;
    int result = 0;
    while (pos_ < text_.size() && text_[pos_] >= u'0' && text_[pos_] <= u'9') {
      if (pos_ - start == 4) return false;
      result = result * 10 + (text_[pos_].unicode() - u'0');
      ++pos_;
    }
    *value = result;
    *digits = pos_ - start;
    return *digits > 0;
  }

  bool literal(QChar c) {
    skipBlanks();
    if (pos_ == text_.size() || text_[pos_] != c) return false;
    ++pos_;
    return true;
  }

  bool atEnd() {
    skipBlanks();
    return pos_ == text_.size();
  }

 private:
  void skipBlanks() {
    while (pos_ < text_.size() && text_[pos_] == u' ') ++pos_;
  }

  QStringView text_;
  qsizetype pos_ = 0;
};

QDate scanDate(Scanner& scanner) {
  const QString format = ShortDateFormat();
  const QChar separator = separatorOf(format, u'/');
  const std::array<QChar, 3> order = dateOrderOf(format);
  int day = 0, month = 0, year = 0;
  qsizetype dayDigits = 0, monthDigits = 0, yearDigits = 0;
  for (std::size_t i = 0; i < order.size(); ++i) {
    if (i > 0 && !scanner.literal(separator)) return {};
    int* value = order[i] == u'd' ? &day : order[i] == u'M' ? &month : &year;
    qsizetype* digits = order[i] == u'd'   ? &dayDigits
                        : order[i] == u'M' ? &monthDigits
                                           : &yearDigits;
    if (!scanner.number(value, digits)) return {};
  }
  if (dayDigits > 2 || monthDigits > 2 || (yearDigits != 2 && yearDigits != 4)) return {};
  if (yearDigits == 2) year = inCenturyWindow(year);
  return QDate(year, month, day);
}

QTime scanTime(Scanner& scanner) {
  const QChar separator = separatorOf(LongTimeFormat(), u':');
  int hour = 0, minute = 0, second = 0;
  qsizetype hourDigits = 0, minuteDigits = 0, secondDigits = 0;
  if (!scanner.number(&hour, &hourDigits) || !scanner.literal(separator) ||
      !scanner.number(&minute, &minuteDigits)) {
    return {};
  }
  if (scanner.literal(separator) && !scanner.number(&second, &secondDigits)) return {};
  if (hourDigits > 2 || minuteDigits > 2 || secondDigits > 2) return {};
  return QTime(hour, minute, second);
}

template <typename T>
T answered(const T& value, bool valid, bool* ok) {
  if (ok != nullptr) *ok = valid;
  return valid ? value : T();
}

}  // namespace

void SetRegionalLocale(std::optional<QLocale> locale) {
  overridden = std::move(locale);
}

QLocale RegionalLocale() {
  const QLocale locale = overridden.value_or(QLocale::system());
  return locale.language() == QLocale::C ? QLocale(QLocale::Portuguese, QLocale::Brazil) : locale;
}

QString ShortDateFormat() {
  return RegionalLocale().dateFormat(QLocale::ShortFormat);
}

QString LongTimeFormat() {
  QString format;
  bool quoted = false;
  bool leading = true;  // a zone at the front takes the blanks after it along
  for (const QChar c : RegionalLocale().timeFormat(QLocale::LongFormat)) {
    if (c == u'\'') quoted = !quoted;
    if (!quoted && c == u't') {
      while (!format.isEmpty() && format.back().isSpace()) format.chop(1);
      leading = format.isEmpty();
      continue;
    }
    if (leading && c.isSpace()) continue;
    leading = false;
    format += c;
  }
  return format;
}

QString DateToStr(const QDate& date) {
  return RegionalLocale().toString(date, ShortDateFormat());
}

QString DateTimeToStr(const QDateTime& dateTime) {
  return DateToStr(dateTime.date()) + u' ' +
         RegionalLocale().toString(dateTime.time(), LongTimeFormat());
}

QDate StrToDate(const QString& text, bool* ok) {
  Scanner scanner(text);
  const QDate date = scanDate(scanner);
  return answered(date, date.isValid() && scanner.atEnd(), ok);
}

QDateTime StrToDateTime(const QString& text, bool* ok) {
  Scanner scanner(text);
  const QDate date = scanDate(scanner);
  QTime time(0, 0);
  if (date.isValid() && !scanner.atEnd()) {
    time = scanTime(scanner);
    if (!scanner.atEnd()) time = QTime();
  }
  return answered(QDateTime(date, time, Qt::UTC), date.isValid() && time.isValid(), ok);
}
