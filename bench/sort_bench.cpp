// Times the grid sort over a year's worth of contributors: fills 500,000 rows, opens the
// viewing set, clicks column titles and reopens with new rows under the chosen order.
// Prints milliseconds per step and the process's peak memory.

#include <QElapsedTimer>
#include <QFile>
#include <QStringList>

#include <cstdio>
#include <random>

#include "common/Dialogs.h"
#include "common/Win1252.h"
#include "data/ContributorFields.h"
#include "dataset/ClientDataSet.h"
#include "dataset/DataSource.h"
#include "dataset/OrdenarGRID.h"

namespace {

constexpr RowId kRows = 500'000;

class PrintedDialogs : public dialogs::Dialogs {
 public:
  void message(dialogs::BoxKind, const QString& caption, const QString& text) override {
    std::printf("[%s] %s\n", qPrintable(caption), qPrintable(text));
  }
  bool confirm(const QString& caption, const QString& text) override {
    std::printf("[%s] %s OK\n", qPrintable(caption), qPrintable(text));
    return true;
  }
  dialogs::FileChoice openFile(const QString&, const QStringList&, int) override { return {}; }
};

const QStringList kFirst = {"JOSÉ",  "MARIA",    "JOÃO",      "ANTÔNIO",   "FRANCISCO",
                            "ANA",   "LUÍS",     "CONCEIÇÃO", "SEBASTIÃO", "MÁRCIA",
                            "PAULO", "RAIMUNDA", "ÂNGELA",    "CÍCERO",    "FÁTIMA"};
const QStringList kLast = {"DA SILVA",  "DOS SANTOS", "PEREIRA", "DE OLIVEIRA", "SOUZA",
                           "RODRIGUES", "FERREIRA",   "ALVES",   "GONÇALVES",   "LIMA",
                           "ARAÚJO",    "CARVALHO",   "RIBEIRO", "DE ASSUNÇÃO", "MONTEIRO"};
const QStringList kOffice = {"DEPUTADO ESTADUAL", "DEPUTADO FEDERAL", "SENADOR", "GOVERNADOR",
                             "1º SUPLENTE"};

// Rows like a year of the contributor table: names of 30 to 60 characters, 14-digit CNPJs.
RowStore contributors(const std::vector<FieldDef>& fields, quint32 seed) {
  std::mt19937 random(seed);
  const auto pick = [&random](const QStringList& list) {
    return list[std::uniform_int_distribution<qsizetype>(0, list.size() - 1)(random)];
  };
  std::uniform_int_distribution<int> digit(0, 9), day(0, 364), second(0, 86'399), percent(0, 99);
  const QDateTime yearStart(QDate(2018, 1, 1), QTime(0, 0), Qt::UTC);
  RowStore rows(fields);
  std::vector<FieldValue> values(fields.size());
  for (RowId i = 0; i < kRows; ++i) {
    QByteArray cnpj(14, '0');
    for (char& c : cnpj) c = static_cast<char>('0' + digit(random));
    QString nome = "ELEIÇÃO 2018 " + pick(kFirst) + ' ' + pick(kFirst) + ' ' + pick(kLast) + ' ' +
                   pick(kLast) + ' ' + pick(kOffice);
    while (nome.size() < 30) nome += ' ' + pick(kLast);
    const bool hasTime = percent(random) < 70;
    values = {static_cast<qint32>(i + 1),
              QByteArray(percent(random) < 90 ? "CANDIDATO" : "PARTIDO"),
              cnpj,
              win1252::encode(nome.left(60)),
              2018,
              {},
              QByteArray(percent(random) < 90 ? "4090" : "3255"),
              QByteArray("9492800"),
              yearStart.addDays(day(random)).addSecs(hasTime ? second(random) : 0),
              QByteArray("IMPORTADOR"),
              yearStart.addDays(day(random)).addSecs(second(random)),
              {},
              {}};
    rows.append(values);
  }
  return rows;
}

QString peakMemory() {
  QFile status("/proc/self/status");
  if (!status.open(QIODevice::ReadOnly)) return "n/a";
  for (const QByteArray& line : status.readAll().split('\n')) {
    if (line.startsWith("VmHWM:")) return QString::fromLatin1(line.mid(6).trimmed());
  }
  return "n/a";
}

template <typename Step>
void timed(const char* name, Step step) {
  QElapsedTimer timer;
  timer.start();
  step();
  std::printf("%-44s %8lld ms\n", name, static_cast<long long>(timer.elapsed()));
}

}  // namespace

int main() {
  PrintedDialogs printed;
  dialogs::install(&printed);
  ClientDataSet cdsCAM;
  ClientDataSet cdsVis;
  cdsVis.setFields(ContributorFields(false));
  DataSource dsCAM(&cdsVis);

  std::printf("%u rows, %zu fields\n", kRows, cdsVis.fields().size());
  RowStore rows;
  timed("fill rows (the provider's part)", [&] { rows = contributors(cdsVis.fields(), 1); });
  timed("open, fetch order", [&] { cdsVis.open(std::move(rows)); });
  timed("click CNPJ_CAM (ascending)", [&] { OrdenarGRID(&cdsCAM, &dsCAM, "CNPJ_CAM"); });
  timed("click CNPJ_CAM (descending)", [&] { OrdenarGRID(&cdsCAM, &dsCAM, "CNPJ_CAM"); });
  timed("click NOME_CAM (ascending)", [&] { OrdenarGRID(&cdsCAM, &dsCAM, "NOME_CAM"); });
  timed("click NOME_CAM (descending)", [&] { OrdenarGRID(&cdsCAM, &dsCAM, "NOME_CAM"); });
  timed("click DATACNPJ_CAM (ascending)", [&] { OrdenarGRID(&cdsCAM, &dsCAM, "DATACNPJ_CAM"); });
  timed("close", [&] { cdsVis.close(); });
  timed("fill new rows", [&] { rows = contributors(cdsVis.fields(), 2); });
  timed("open, rebuild DATACNPJ_CAM ascending", [&] { cdsVis.open(std::move(rows)); });
  timed("click NOME_CAM after reopen", [&] { OrdenarGRID(&cdsCAM, &dsCAM, "NOME_CAM"); });
  std::mt19937 random(3);
  std::uniform_int_distribution<qint32> code(1, kRows);
  int found = 0;
  timed("locate 100,000 COD_CAM (first builds the hash)", [&] {
    for (int i = 0; i < 100'000; ++i) found += cdsVis.locate("COD_CAM", code(random)) ? 1 : 0;
  });
  std::printf("located %d; peak resident memory %s\n", found, qPrintable(peakMemory()));
  dialogs::install(nullptr);
  return 0;
}
