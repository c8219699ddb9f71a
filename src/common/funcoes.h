#pragma once

#include <QString>

// Text helpers shared by the import, the search and the start-up. A blank is U+0020 only.

// Drops trailing blanks but never the first character: "   " gives " ".
QString RTrim(QString InString);

// True for an empty text or one whose first 255 characters are all blanks.
bool Empty(QString InString);

// Characters 4-6, then 1-3, then 7-10 of the text: "25/12/2018" gives "12/25/2018".
QString InverteData(QString data);

// True when Campo is not empty and occurs inside "0123456789".
bool IsDigit(QString Campo);

// Keeps the ASCII digits of the text, in order.
QString OnlyDigit(QString InString);

// Upper-cases a-z only; every other character stays as it is.
QString asciiUpper(QString text);

// The SQL string literal of a text: in single quotes, each single quote inside doubled.
QString QuotedStr(const QString& text);
