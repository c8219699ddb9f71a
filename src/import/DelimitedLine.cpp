#include "import/DelimitedLine.h"

#include "common/Win1252.h"
#include "common/funcoes.h"
#include "import/DelimitedText.h"
#include "import/ListIndexError.h"

std::optional<LineValues> readDelimitedLine(const QByteArray& Linha, const QString& VOQ_Exercicio) {
  const QStringList fields = splitDelimitedText(win1252::decode(Linha));
  if (fields.isEmpty()) return std::nullopt;
  // Numbered from 1 like the layout's fields; the error names the 0-based index.
  const auto field = [&fields](qsizetype number) -> const QString& {
    if (number > fields.size()) throw ListIndexError(number - 1);
    return fields.at(number - 1);
  };

  LineValues values;
  values.Tipo = field(1);
  if (!acceptsTipo(values.Tipo)) return std::nullopt;

  values.CNPJ = OnlyDigit(field(2));
  if (values.Tipo == kPartido) {
    values.Nome = field(3);
    values.Ano = VOQ_Exercicio;
    values.NatJur = field(5);
    values.Cnae = field(6);
    values.DataCNPJ = field(7);
  } else {
    const QString& name = field(3);
    values.Ano = name.mid(8, 4);
    values.Nome = RTrim(name.mid(13, 200));
    values.NatJur = field(4);
    values.Cnae = field(5);
    values.DataCNPJ = field(6);
  }
  return values;
}
