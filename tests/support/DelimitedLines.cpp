#include "DelimitedLines.h"

#include <QStringEncoder>

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
  QStringEncoder encoder("windows-1252");
  return encoder.encode(text);
}

QByteArray CsvFile(const QStringList& lines) {
  QByteArray bytes;
  for (const QString& line : lines) bytes += Windows1252(line) + "\r\n";
  return bytes;
}

}  // namespace tavrel::test
