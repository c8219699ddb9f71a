#pragma once

#include <QByteArray>
#include <QString>

// Windows-1252, the code page of the suite's database and of delimited campaign files.
namespace win1252 {

QString decode(const QByteArray& bytes);
// One byte per UTF-16 unit; characters outside the code page become '?', as Windows does.
QByteArray encode(const QString& text);

}  // namespace win1252
