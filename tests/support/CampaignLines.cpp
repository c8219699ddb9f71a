#include "CampaignLines.h"

#include <QFile>

#include <stdexcept>

namespace tavrel::test {
namespace {

QString column(const QString& text, int width) {
  return text.left(width).leftJustified(width, u' ');
}

}  // namespace

QByteArray FixedColumnLine(const QString& typeCode, const QString& cnpj, const QString& nameColumn,
                           const QString& natjur, const QString& cnae, const QString& date) {
  return ("2" + column(typeCode, 2) + column(cnpj, 14) + column(nameColumn, 150) +
          column(natjur, 4) + column(cnae, 7) + QString(10, u'9') + column(date, 12))
      .toUtf8();
}

QString CandidateNameField(const QString& year, const QString& name) {
  return "ABCDEFGH" + year + " " + name;
}

void WriteFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
    throw std::runtime_error("cannot write " + path.toStdString());
}

}  // namespace tavrel::test
