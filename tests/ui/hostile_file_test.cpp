// Hostile campaign files through the window's real import: binary noise, NUL bytes, invalid
// UTF-8, lines of 10 MB, CR-only line ends, and a file that changes between its count and its
// read. Each must end passed over, stored or rolled back, with no row stored half and no
// transaction left open.
#include <QFile>
#include <QLabel>
#include <QProgressBar>

#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <random>

#include "CampaignLines.h"
#include "ContributorRows.h"
#include "DelimitedLines.h"
#include "ImportSession.h"
#include "LabelWatch.h"
#include "NumberedCandidates.h"
#include "QtPrinters.h"
#include "data/UDM.h"
#include "ui/UTavrel.h"

using namespace tavrel::test;

namespace {

const QString kImported = QStringLiteral("CNPJ dos Candidatos/Partidos Importado!");
const QString kFailed =
    QStringLiteral("Erro ao importar os CNPJ dos Candidatos/Partidos Importado!\rErro: ");
constexpr qsizetype kTenMegabytes = 10 * 1024 * 1024;

QString csvCandidate(int n) {
  return CandidateCsvLine(NumberedCnpj(n), NumberedName(n), "26/09/2018 14:30");
}

// Each '#' of line, in turn, becomes the next of bytes: a way to put bytes that are no UTF-8
// where the fixed columns expect text, one position each.
QByteArray withBytes(QByteArray line, const QByteArray& bytes) {
  for (const char b : bytes) line[line.indexOf('#')] = b;
  return line;
}

// Seeded random bytes, NUL and CR among them, in which no line begins with a byte that could
// begin an accepted line of either layout: "2" (a fixed-column detail line), a double quote or
// a character of "PARTIDO,CANDIDATO" (a delimited type). So every line of it is passed over.
QByteArray noise(qsizetype size, unsigned seed) {
  std::mt19937 random(seed);
  std::uniform_int_distribution<int> byte(0, 255);
  const QByteArray risky = "2\"PARTIDO,CANDIDATO";
  QByteArray bytes(size, '\0');
  bool lineStart = true;
  for (char& b : bytes) {
    do b = static_cast<char>(byte(random));
    while (lineStart && risky.contains(b));
    lineStart = b == '\n';
  }
  return bytes;
}

// What a row holds of the columns the cases look at.
const QString kColumns = "COD_CAM, CNPJ_CAM, NOME_CAM, OCTET_LENGTH(NOME_CAM), DATACNPJ_CAM";
QStringList row(int cod, const QString& cnpj, const QString& name,
                const QString& date = "2018-09-26 14:30:00.0000") {
  return {QString::number(cod), cnpj, name, QString::number(name.size()), date};
}
QStringList candidateRow(int cod, int n) {
  return row(cod, NumberedCnpj(n), NumberedName(n));
}

// Stored before every case: whatever happens, it stays.
const ContributorRow kEarlier{1,    "CANDIDATO", "00000000000001", "ANTERIOR",
                              2019, "4090",      "8411600",        "2018-01-01 00:00"};
const QStringList kEarlierRow = row(1, "00000000000001", "ANTERIOR", "2018-01-01 00:00:00.0000");

struct HostileCase {
  const char* name;
  QString fileName;
  std::function<QByteArray()> content;
  // Runs right after the lines are counted, before the file is read.
  std::function<void(const QString& path)> afterCount;
  // Empty: the run ends with the information box; otherwise the error box, whose text holds
  // this.
  QString error;
  QStringList stored;  // after kEarlierRow
  QString lastCount;   // as LabCount last showed it during the run; empty when not asked
};

void PrintTo(const HostileCase& c, std::ostream* out) {
  *out << c.name;
}

const HostileCase kCases[] = {
    {"BinaryNoiseBetweenFixedColumnLines",
     "ruido.txt",
     [] {
       return NumberedCandidate(11) + "\n" + noise(256 * 1024, 1) + "\n" + NumberedCandidate(12);
     },
     {},
     {},
     candidateRow(2, 11) + candidateRow(3, 12)},
    {"BinaryNoiseBetweenDelimitedLines",
     "ruido.csv",
     [] {
       return CsvFile({csvCandidate(11)}) + noise(256 * 1024, 2) + "\r\n" +
              CsvFile({csvCandidate(12)});
     },
     {},
     {},
     candidateRow(2, 11) + candidateRow(3, 12)},
    // A field holds no more than what comes before its first NUL; a type with one is no type.
    {"NulInFixedColumnLines",
     "nul.txt",
     [] {
       return FixedColumnLine("02", NumberedCnpj(11),
                              CandidateNameField("2019", QString("MARIA") + QChar(0) + "SOUZA"),
                              "4090", "8411600", "260920181430") +
              "\n" + QByteArray(1, '\0') + NumberedCandidate(12).mid(1) + "\n";
     },
     {},
     {},
     row(2, NumberedCnpj(11), "MARIA"),
     "2 de 2"},
    {"NulInDelimitedLines",
     "nul.csv",
     [] {
       const char nul = '\0';
       return QByteArray("CANDIDATO;1111") + nul + " 2222;ABCDEFGH2019 JO" + nul +
              "AO;4090;8411600;26/09/2018 14:30\r\nCANDI" + nul +
              "DATO;33333333000133;ABCDEFGH2019 X;4090;8411600;26/09/2018\r\n";
     },
     {},
     {},
     row(2, "11112222", "JO"),
     "2 de 2"},
    // Each of these bytes is an ill-formed sequence of its own (a byte that starts none, a lead
    // cut short by the next byte), so each is one position and one '?': nothing shifts.
    {"InvalidUtf8InFixedColumns",
     "utf8.txt",
     [] {
       return withBytes(
                  FixedColumnLine("02", "1111#111000111", CandidateNameField("2019", "JO#(AO #"),
                                  "4090", "8411600", "260920181430"),
                  "\xFF\xC3\xFE") +
              "\n" +
              withBytes(FixedColumnLine("01", NumberedCnpj(12), "PARTIDO ##", "3220", "9492800",
                                        "020820181000"),
                        "\xC0\xAF") +
              "\n";
     },
     {},
     {},
     row(2, "1111?111000111", "JO?(AO ?") +
         row(3, NumberedCnpj(12), "PARTIDO ??", "2018-08-02 10:00:00.0000"),
     "2 de 2"},
    {"InvalidUtf8InTheYearRollsBack",
     "ano.txt",
     [] {
       return NumberedCandidate(11) + "\n" +
              withBytes(FixedColumnLine("02", NumberedCnpj(12), CandidateNameField("20#9", "X"),
                                        "4090", "8411600", "260920181430"),
                        "\xFF") +
              "\n";
     },
     {},
     "is not a valid integer value",
     {},
     "1 de 2"},
    {"TenMegabyteFixedColumnLines",
     "longa.txt",
     [] {
       return "1" + QByteArray(kTenMegabytes, 'X') + "\n" + NumberedCandidate(11) +
              QByteArray(kTenMegabytes, 'Y') + "\n" + NumberedCandidate(12) + "\n";
     },
     {},
     {},
     candidateRow(2, 11) + candidateRow(3, 12),
     "3 de 3"},
    {"TenMegabyteDelimitedLines",
     "longa.csv",
     [] {
       return CsvFile(
           {PartyCsvLine("11.111.111/0001-11", QString(kTenMegabytes, 'P'), "26/09/2018 14:30"),
            CandidateCsvLine(NumberedCnpj(12), QString(kTenMegabytes, 'N'), "26/09/2018 14:30")});
     },
     {},
     {},
     row(2, "11111111000111", QString(250, 'P')) + row(3, NumberedCnpj(12), QString(200, 'N')),
     "2 de 2"},
    // A lone CR ends no line: the three records are one line, of which the fixed columns read
    // the first record only.
    {"CrOnlyFixedColumnLines",
     "cr.txt",
     [] {
       return NumberedCandidate(11) + "\r" + NumberedCandidate(12) + "\r" + NumberedCandidate(13) +
              "\r";
     },
     {},
     {},
     candidateRow(2, 11),
     "1 de 3"},
    // The date field runs on into the next record and is no date.
    {"CrOnlyDelimitedLines",
     "cr.csv",
     [] { return Windows1252(csvCandidate(11) + "\r" + csvCandidate(12) + "\r"); },
     {},
     "is not a valid date and time",
     {},
     ""},
    {"FileShrinksAfterItsCount",
     "encolhe.txt",
     [] {
       return NumberedCandidates({11, 12, 13, 14, 15});
     },
     [](const QString& path) {
       WriteFile(path, NumberedCandidates({11, 12}));
     },
     {},
     candidateRow(2, 11) + candidateRow(3, 12),
     "2 de 5"},
    {"FileGrowsAfterItsCount",
     "cresce.txt",
     [] {
       return NumberedCandidates({11, 12});
     },
     [](const QString& path) {
       WriteFile(path, NumberedCandidates({11, 12, 13, 14}));
     },
     {},
     candidateRow(2, 11) + candidateRow(3, 12) + candidateRow(4, 13) + candidateRow(5, 14),
     "4 de 2"},
    {"FileDisappearsAfterItsCount",
     "some.txt",
     [] {
       return NumberedCandidates({11, 12});
     },
     [](const QString& path) { ASSERT_TRUE(QFile::remove(path)); },
     "Cannot open file",
     {},
     ""},
};

class HostileFile : public ImportSession, public ::testing::WithParamInterface<HostileCase> {};

TEST_P(HostileFile, EndsPassedOverStoredOrRolledBackWithNothingStoredHalf) {
  const HostileCase& c = GetParam();
  InsertContributors(install.database, {kEarlier});
  const QString path = file(c.fileName, c.content());
  LabelWatch count(window().LabCount);
  bool counted = false;
  // Right after counting, the run sets the bar's range and its position to 0, then reads. Away
  // from 0 before, the bar signals that moment.
  window().pb->setValue(1);
  QObject::connect(window().pb, &QProgressBar::valueChanged, [&](int value) {
    if (value != 0 || counted || !c.afterCount) return;
    counted = true;
    c.afterCount(path);
  });

  run(path);

  EXPECT_EQ(counted, static_cast<bool>(c.afterCount));
  const std::vector<RecordingDialogs::Box>& boxes = program.boxes.boxes;
  ASSERT_EQ(boxes.size(), 1u) << (boxes.empty() ? "" : boxes.back().text.left(300).toStdString());
  if (c.error.isEmpty()) {
    EXPECT_EQ(boxes[0],
              (RecordingDialogs::Box{dialogs::BoxKind::Information, "Information", kImported}));
    EXPECT_EQ(window().pb->value(), window().pb->maximum());
  } else {
    EXPECT_EQ(boxes[0].kind, dialogs::BoxKind::Error);
    EXPECT_TRUE(boxes[0].text.startsWith(kFailed)) << boxes[0].text.left(300).toStdString();
    EXPECT_TRUE(boxes[0].text.contains(c.error)) << boxes[0].text.left(300).toStdString();
  }
  if (!c.lastCount.isEmpty()) {
    const QStringList counts = count.shown.filter(" de ");
    EXPECT_EQ(counts.isEmpty() ? QString() : counts.last(), c.lastCount);
  }
  // The search ran.
  EXPECT_EQ(window().LabCount->text(), QString("%1 Registros.").arg(1 + c.stored.size() / 5));

  EXPECT_EQ(rows(kColumns), kEarlierRow + c.stored);
  EXPECT_FALSE(module().Conexao.inTransaction());
  // The cache holds what the table holds, with nothing started or pending to reach it later.
  const ClientDataSet& cache = module().cdsCAM;
  EXPECT_EQ(cache.state(), DataSetState::Browse);
  EXPECT_EQ(cache.changeCount(), 0);
  EXPECT_EQ(cachedCodes(), rows("COD_CAM"));
}

using HostileCnpj = ImportSession;

// The CNPJ a line is looked up by must be the one its row was stored with, or every import of
// the file stores the line once more.
TEST_F(HostileCnpj, ImportingTheSameFileAgainAddsNoRow) {
  const struct {
    const char* name;
    QString fileName;
    QByteArray content;
    QString stored;
  } cases[] = {
      {"invalid UTF-8", "utf8.txt",
       withBytes(FixedColumnLine("02", "2222#222000222", CandidateNameField("2019", "UTF"), "4090",
                                 "8411600", "260920181430"),
                 "\xFF"),
       "2222?222000222"},
      {"NUL", "nul.txt",
       FixedColumnLine("02", QString("3333") + QChar(0) + "333000333",
                       CandidateNameField("2019", "NUL"), "4090", "8411600", "260920181430"),
       "3333"},
      {"25 digits", "longo.csv",
       CsvFile({CandidateCsvLine("4444444444444444444444444", "LONGO", "26/09/2018 14:30")}),
       "44444444444444444444"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const QString path = file(c.fileName, c.content);
    run(path);
    ASSERT_EQ(window().labImportou->text(), QString("(1 Importados e 0 Alterados)"));

    run(path);

    EXPECT_EQ(window().labImportou->text(), QString("(0 Importados e 0 Alterados)"));
    EXPECT_EQ(rows("COD_CAM", QString("CNPJ_CAM = '%1'").arg(c.stored)).size(), 1);
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, HostileFile, ::testing::ValuesIn(kCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
