#include "ImportSession.h"

#include <QLineEdit>

#include <algorithm>

#include "CampaignLines.h"
#include "data/UDM.h"
#include "ui/HotTrackButton.h"
#include "ui/UTavrel.h"

namespace tavrel::test {

void ImportSession::SetUp() {
  ASSERT_TRUE(files.isValid());
  program.start({"tavrel", "operador"});
  ASSERT_TRUE(program.boxes.boxes.empty());
}

QString ImportSession::file(const QString& name, const QByteArray& bytes) {
  const QString path = files.filePath(name);
  WriteFile(path, bytes);
  return path;
}

void ImportSession::run(const QString& path) {
  window().edtCaminhoCNPJ->setText(path);
  window().btnImportar->click();
}

QStringList ImportSession::rows(const QString& columns, const QString& where) {
  return TestServer::values(
      install.database,
      QString("SELECT %1 FROM GR_CONTRIB_CAMPANHA WHERE %2 ORDER BY COD_CAM").arg(columns, where));
}

QStringList ImportSession::cachedCodes() {
  const ClientDataSet& cache = module().cdsCAM;
  if (!cache.active()) return {};
  const int cod = cache.fieldIndex("COD_CAM");
  std::vector<qint32> codes;
  for (qsizetype i = 0; i < cache.recordCount(); ++i)
    codes.push_back(std::get<qint32>(cache.valueAt(i, cod)));
  std::sort(codes.begin(), codes.end());
  QStringList texts;
  for (const qint32 code : codes) texts << QString::number(code);
  return texts;
}

}  // namespace tavrel::test
