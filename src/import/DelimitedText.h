#pragma once

#include <QString>
#include <QStringList>

// Splits a delimited campaign line into its fields, as the original program's string list
// did with ';' as delimiter, '"' as quote and strict delimiting (blanks are text):
// - n separators outside quotes give n + 1 fields; an empty text gives none;
// - a field that begins with '"' runs to the matching closing quote, "" inside standing
//   for one quote; an unterminated quote runs to the end of the line;
// - text after a closing quote, up to the next ';', is added to the field. The string list
//   made it a field of its own, which broke the n + 1 count and shifted every later column.
QStringList splitDelimitedText(const QString& text);
