#include "import/ImportLine.h"

#include "LineValuesPrinter.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

const QString kYear = "2024";

// A line of blanks, UTF-8 encoded, with each text written at its 1-based position, counted
// in characters as the layout counts them.
QByteArray fixedLine(const std::vector<std::pair<std::size_t, QString>>& parts,
                     std::size_t length) {
  std::u32string line(length, U' ');
  for (const auto& [position, text] : parts) {
    const std::u32string characters = text.toStdU32String();
    line.replace(position - 1, characters.size(), characters);
  }
  return QString::fromStdU32String(line).toUtf8();
}

// A detail line up to its date, with bytes after it that nothing reads.
QByteArray detail(const QString& typeCode, const QString& nameColumn,
                  const QString& date = "260920181430") {
  return fixedLine({{1, "2"},
                    {2, typeCode},
                    {4, "12345678000190"},
                    {18, nameColumn},
                    {168, "2062"},
                    {172, "9492800"},
                    {179, "9999999999"},
                    {189, date},
                    {201, "ZZZZ"}},
                   204);
}

LineValues candidate(const QString& nome, const QString& ano = "2018") {
  return {"CANDIDATO", "12345678000190", nome, ano, "2062", "9492800", "26/09/2018 14:30"};
}

QByteArray withBytes(QByteArray line, qsizetype at, const QByteArray& bytes) {
  return line.replace(at, bytes.size(), bytes);
}

// The candidate line named JOSE, with the bytes written in place of its characters from the S
// on.
QByteArray inPlaceOfS(const QByteArray& bytes, qsizetype characters = 1) {
  return detail("02", "ABCDEFGH2018 JOSE").replace(32, characters, bytes);
}

}  // namespace

TEST(FixedColumnLine, ReadsTheDetailLines) {
  const QString longName = QString(137, u'N');
  const struct {
    const char* name;
    QByteArray line;
    LineValues values;
  } cases[] = {
      {"party",
       detail("01", "PARTIDO DOS TESTES"),
       {"PARTIDO", "12345678000190", "PARTIDO DOS TESTES", kYear, "2062", "9492800",
        "26/09/2018 14:30"}},
      {"party with a blank name column",
       detail("01", ""),
       {"PARTIDO", "12345678000190", " ", kYear, "2062", "9492800", "26/09/2018 14:30"}},
      {"type 02", detail("02", "ABCDEFGH2018 MARIA SOUZA"), candidate("MARIA SOUZA")},
      {"type of blanks", detail("  ", "ABCDEFGH2022 JOSE"), candidate("JOSE", "2022")},
      {"type 10", detail("10", "ABCDEFGH2018 ANA"), candidate("ANA")},
      {"blank name column", detail("02", ""), candidate(" ", "    ")},
      {"name up to the legal nature", detail("02", "ABCDEFGH2018 " + longName),
       candidate(longName)},
      {"CNPJ kept as written",
       fixedLine({{1, "2"}, {2, "02"}, {4, "12 345 678/0-1"}, {18, "ABCDEFGH2018 ANA"}}, 40),
       {"CANDIDATO", "12 345 678/0-1", "ANA", "2018", "", "", "// :"}},
      {"two-byte letters take one position",
       detail("02", QString::fromUtf8("ABCDEFGH2018 JOÃO DA CONCEIÇÃO")),
       candidate(QString::fromUtf8("JOÃO DA CONCEIÇÃO"))},
      {"letters before the year", detail("02", QString::fromUtf8("ÇÇÇÇÇÇÇÇ2018 ANA")),
       candidate("ANA")},
      {"a character outside the BMP takes one position",
       detail("02", QString::fromUtf8("ABCDEFGH2018 \U0001D504LICE")),
       candidate(QString::fromUtf8("\U0001D504LICE"))},
      // Each maximal subpart of an ill-formed sequence is one character, so the bytes stand in
      // for the S of JOSE and the columns after it stay in place.
      {"an invalid byte takes one position", inPlaceOfS("\xFF"),
       candidate(QString::fromUtf8("JO\uFFFDE"))},
      {"a cut three-byte sequence takes one position", inPlaceOfS("\xE2\x82"),
       candidate(QString::fromUtf8("JO\uFFFDE"))},
      {"a cut four-byte sequence takes one position", inPlaceOfS("\xF0\x9F\x98"),
       candidate(QString::fromUtf8("JO\uFFFDE"))},
      {"a cut two-byte sequence before a lead byte", inPlaceOfS("\xC3\xC3\xA7", 2),
       candidate(QString::fromUtf8("JO\uFFFD\u00E7"))},
      {"a surrogate's bytes take one position each", inPlaceOfS("\xED\xA0\x80", 3),
       candidate(QString::fromUtf8("JO\uFFFD\uFFFD\uFFFD"))},
      {"an overlong form's bytes take one position each", inPlaceOfS("\xE0\x80", 2),
       candidate(QString::fromUtf8("JO\uFFFD\uFFFD"))},
      {"a sequence cut at the end of the line",
       fixedLine({{1, "2"}, {2, "02"}, {18, "ABCDEFGH2018 JOS"}}, 33) + "\xC3",
       {"CANDIDATO", "              ", QString::fromUtf8("JOS\uFFFD"), "2018", "", "", "// :"}},
      {"detail line ending in the name",
       fixedLine({{1, "2"}, {2, "02"}, {4, "12345678000190"}, {18, "ABCDEFGH2018 ANA"}}, 33),
       {"CANDIDATO", "12345678000190", "ANA", "2018", "", "", "// :"}},
      {"detail line ending in the date",
       detail("02", "ABCDEFGH2018 ANA", "2609").left(192),
       {"CANDIDATO", "12345678000190", "ANA", "2018", "2062", "9492800", "26/09/ :"}},
      {"only the record kind", "2", {"CANDIDATO", "", "", "", "", "", "// :"}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(readImportLine(c.line, ImportLayout::FixedColumn, kYear), c.values) << c.name;
  }
}

TEST(FixedColumnLine, PassesOverLinesThatAreNoDetail) {
  const QByteArray party = detail("01", "PARTIDO DOS TESTES");
  const struct {
    const char* name;
    QByteArray line;
  } cases[] = {
      {"header", "1" + party.mid(1)},
      {"trailer", "9" + party.mid(1)},
      {"empty line", ""},
      {"leading blank", " " + party},
      {"byte-order mark", "\xEF\xBB\xBF" + party},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(readImportLine(c.line, ImportLayout::FixedColumn, kYear), std::nullopt) << c.name;
  }
}
