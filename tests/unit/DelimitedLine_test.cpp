#include "import/ImportLine.h"
#include "import/ListIndexError.h"

#include "LineValuesPrinter.h"

#include <gtest/gtest.h>

namespace {

const QString kYear = "2024";

std::optional<LineValues> read(const QByteArray& line) {
  return readImportLine(line, ImportLayout::Delimited, kYear);
}

}  // namespace

TEST(DelimitedLine, ReadsPartyAndCandidateColumns) {
  const struct {
    const char* name;
    QByteArray line;
    LineValues values;
  } cases[] = {
      {"party",
       "PARTIDO;12.345.678/0001-90;PARTIDO X;QQ;1234;9492800;26/09/2018 14:30",
       {"PARTIDO", "12345678000190", "PARTIDO X", kYear, "1234", "9492800", "26/09/2018 14:30"}},
      {"candidate",
       "CANDIDATO;12345678000190;ABCDEFG 2018 MARIA SOUZA   ;1234;9492800;26/09/2018",
       {"CANDIDATO", "12345678000190", "MARIA SOUZA", "2018", "1234", "9492800", "26/09/2018"}},
      {"party name kept with its blanks, fields after the seventh not read",
       "PARTIDO;1; PARTIDO Y ;;2062;9492800;01/02/2020;extra;more",
       {"PARTIDO", "1", " PARTIDO Y ", kYear, "2062", "9492800", "01/02/2020"}},
      {"quoted fields with separators and doubled quotes, Windows-1252",
       "CANDIDATO;\"12;345\";\"ABCDEFG 2018 D'\xC1VILA \"\"Z\xC9\"\"\";1;2;\"26/09/2018\"",
       {"CANDIDATO", "12345", QString::fromUtf8("D'ÁVILA \"ZÉ\""), "2018", "1", "2", "26/09/2018"}},
      {"quoted party name",
       "PARTIDO;1;\"PARTIDO; A \"\"B\"\"\";x;2062;9492800;01/02/2020",
       {"PARTIDO", "1", "PARTIDO; A \"B\"", kYear, "2062", "9492800", "01/02/2020"}},
      {"both types as one quoted field take the candidate columns",
       "\"PARTIDO,CANDIDATO\";123;ABCDEFG 2018 ANA;1;2;3",
       {"PARTIDO,CANDIDATO", "123", "ANA", "2018", "1", "2", "3"}},
      {"a piece of a type takes the candidate columns",
       "DATO;123;ABCDEFG 2018 ANA;1;2;3;4",
       {"DATO", "123", "ANA", "2018", "1", "2", "3"}},
      {"CNPJ without a digit",
       "CANDIDATO;n/a;ABCDEFG 2018 ANA;1;2;3",
       {"CANDIDATO", "", "ANA", "2018", "1", "2", "3"}},
      {"name field shorter than the year",
       "CANDIDATO;1;ABCDEFG 20;1;2;3",
       {"CANDIDATO", "1", "", "20", "1", "2", "3"}},
      {"candidate name cut at 200 characters",
       "CANDIDATO;1;ABCDEFG 2018 " + QByteArray(200, 'N') + "XYZ;1;2;3",
       {"CANDIDATO", "1", QString(200, u'N'), "2018", "1", "2", "3"}},
      {"blank candidate name",
       "CANDIDATO;1;ABCDEFG 2018    ;1;2;3",
       {"CANDIDATO", "1", " ", "2018", "1", "2", "3"}},
      {"six empty-valued fields", "CANDIDATO;123;;;;", {"CANDIDATO", "123", "", "", "", "", ""}},
  };
  for (const auto& c : cases) EXPECT_EQ(read(c.line), c.values) << c.name;
}

TEST(DelimitedLine, PassesOverLinesOfOtherTypes) {
  const char* const lines[] = {
      "TIPO;CNPJ;NOME;NATJUR;CNAE;DATA",
      "partido;1;PARTIDO X;QQ;1234;9492800;26/09/2018",
      " PARTIDO;1;PARTIDO X;QQ;1234;9492800;26/09/2018",
      "PARTIDO ;1;PARTIDO X;QQ;1234;9492800;26/09/2018",
      "CANDIDATOS;1;ABCDEFG 2018 ANA;1;2;3",
      "\xEF\xBB\xBFPARTIDO;1;PARTIDO X;QQ;1234;9492800;26/09/2018",
      "",
      ";1;ABCDEFG 2018 ANA;1;2;3",
      "candidato;1",
      "TIPO",
  };
  for (const char* line : lines) EXPECT_EQ(read(line), std::nullopt) << line;
}

TEST(DelimitedLine, ShortAcceptedLineFailsAtTheFirstMissingField) {
  const struct {
    QByteArray line;
    qsizetype index;
  } cases[] = {
      {"CANDIDATO;123", 2},
      {"CANDIDATO", 1},
      {"CANDIDATO;1;ABCDEFG 2018 ANA;1;2", 5},
      {"PARTIDO;1", 2},
      {"PARTIDO;1;PARTIDO X;QQ;1234;9492800", 6},
      {"PARTIDO;1;PARTIDO X;QQ", 4},
      {"DATO;1;\"A;B;C;D\"", 3},
  };
  for (const auto& c : cases) {
    try {
      read(c.line);
      ADD_FAILURE() << "no error for " << c.line.toStdString();
    } catch (const ListIndexError& e) {
      EXPECT_EQ(e.index(), c.index) << c.line.toStdString();
      EXPECT_EQ(e.message(), QString("List index out of bounds (%1)").arg(c.index));
    }
  }
}
