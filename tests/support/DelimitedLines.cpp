#include "DelimitedLines.h"

#include <QStringEncoder>

#include <stdexcept>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

#include "CampaignLines.h"

namespace tavrel::test {

QString CandidateCsvLine(const QString& cnpj, const QString& name, const QString& date,
                         const QString& year) {
  return QString("CANDIDATO;%1;%2;4090;8411600;%3").arg(cnpj, CandidateNameField(year, name), date);
}

QString PartyCsvLine(const QString& cnpj, const QString& name, const QString& date) {
  return QString("PARTIDO;%1;%2;QQ;3220;9492800;%3").arg(cnpj, name, date);
}

QByteArray Windows1252(const QString& text) {
#ifdef Q_OS_WIN
  // Qt for Windows is built without ICU and has no windows-1252 encoder; Windows' own code page
  // serves, and stays as independent of the program's encoder.
  const auto* units = reinterpret_cast<const wchar_t*>(text.utf16());
  const int length = static_cast<int>(text.size());
  const int size = WideCharToMultiByte(1252, 0, units, length, nullptr, 0, nullptr, nullptr);
  QByteArray bytes(size, Qt::Uninitialized);
  if (WideCharToMultiByte(1252, 0, units, length, bytes.data(), size, nullptr, nullptr) != size)
    throw std::runtime_error("cannot encode in code page 1252");
  return bytes;
#else
  QStringEncoder encoder("windows-1252");
  if (!encoder.isValid()) throw std::runtime_error("no windows-1252 encoder");
  return encoder.encode(text);
#endif
}

QByteArray CsvFile(const QStringList& lines) {
  QByteArray bytes;
  for (const QString& line : lines) bytes += Windows1252(line) + "\r\n";
  return bytes;
}

}  // namespace tavrel::test
