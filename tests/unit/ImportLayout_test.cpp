#include "import/ImportLayout.h"

#include <gtest/gtest.h>

TEST(ImportLayout, ComesFromTheExtensionOfTheFileName) {
  using enum ImportLayout;
  const struct {
    QString path, extension;
    ImportLayout layout;
  } cases[] = {
      {"C:\\Eleicao\\candidatos.Csv", "CSV", Delimited},
      {"/home/fiscal/candidatos.CSV", "CSV", Delimited},
      {"candidatos.csv", "CSV", Delimited},
      {".csv", "CSV", Delimited},
      {"C:\\Eleicao\\candidatos.txt", "TXT", FixedColumn},
      {"/dados/candidatos.dat", "DAT", FixedColumn},
      {"C:\\Eleicao\\candidatos", "", FixedColumn},
      {"candidatos.", "", FixedColumn},
      {"C:\\dados.csv\\candidatos", "", FixedColumn},
      {"/tmp/dados.csv/candidatos", "", FixedColumn},
      {"C:/mixed\\dir.csv/candidatos", "", FixedColumn},
      {"candidatos.csv.txt", "TXT", FixedColumn},
      {"candidatos.txt.csv", "CSV", Delimited},
      {"candidatos.csv ", "CSV ", FixedColumn},
      {"arquivo.ção", "çãO", FixedColumn},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ExtensaoARQ(c.path), c.extension) << c.path.toStdString();
    EXPECT_EQ(layoutForFile(c.path), c.layout) << c.path.toStdString();
  }
}
