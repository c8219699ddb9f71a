#pragma once

#include <QDate>
#include <QDateTime>
#include <QLocale>
#include <QString>

#include <optional>

// Dates and times as text in the user's regional forms. The forms come from the system locale;
// where the system offers only the C/POSIX locale, those of Brazilian Portuguese apply.
//
// Timestamps are naive (the database keeps no zone), so the QDateTime values given and taken
// here carry Qt::UTC: no daylight-saving gap or fold can shift or refuse a wall-clock time.

// Overrides the system locale; std::nullopt goes back to it. For tests.
void SetRegionalLocale(std::optional<QLocale> locale);
QLocale RegionalLocale();

// Qt format strings: "dd/MM/yyyy" and "HH:mm:ss" in Brazil. The long time form never names a
// time zone, as the desktop's own form does not.
QString ShortDateFormat();
QString LongTimeFormat();

QString DateToStr(const QDate& date);
// Short date, a blank, long time.
QString DateTimeToStr(const QDateTime& dateTime);

// Day, month and year, each of one or two digits but the year, of four digits or of two, in the
// order and with the separator of the short date form; blanks allowed around each part. A
// two-digit year falls within 50 years before and 49 after the current one. Anything else,
// an impossible date included, gives an invalid result and *ok false.
QDate StrToDate(const QString& text, bool* ok = nullptr);
// The same date, optionally followed by blanks and hours and minutes, with or without seconds,
// separated as in the long time form (24-hour clock).
QDateTime StrToDateTime(const QString& text, bool* ok = nullptr);
