#include "import/FixedColumnLine.h"

#include "common/funcoes.h"

#include <QStringDecoder>

#include <algorithm>
#include <string>

namespace {

// The line as code points, so that every character takes one position: one written with
// several UTF-8 bytes, and one outside the BMP (two UTF-16 units), alike.
class Columns {
 public:
  explicit Columns(const QByteArray& Linha) : line_(decode(Linha).toStdU32String()) {}

  // Positions from 1; a read past the end yields the part that exists.
  QString at(std::size_t position, std::size_t length) const {
    return QString::fromStdU32String(line_.substr(std::min(position - 1, line_.size()), length));
  }

 private:
  static QString decode(const QByteArray& Linha) {
    // A byte-order mark stays a character, so a first line that carries one is no detail
    // line. Stateless, so that a sequence cut at the end of the line is not held back.
    // Qt puts one U+FFFD for every byte of an invalid sequence.
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom |
                                                    QStringConverter::Flag::Stateless);
    return utf8.decode(Linha);
  }

  std::u32string line_;
};

}  // namespace

std::optional<LineValues> readFixedColumnLine(const QByteArray& Linha,
                                              const QString& VOQ_Exercicio) {
  const Columns line(Linha);
  LineValues values;
  if (line.at(1, 1) == u"2") values.Tipo = line.at(2, 2) == u"01" ? kPartido : kCandidato;
  if (!acceptsTipo(values.Tipo)) return std::nullopt;

  values.CNPJ = line.at(4, 14);
  if (values.Tipo == kPartido) {
    values.Nome = RTrim(line.at(18, 150));
    values.Ano = VOQ_Exercicio;
  } else {
    values.Ano = line.at(26, 4);
    values.Nome = RTrim(line.at(31, 137));
  }
  values.NatJur = line.at(168, 4);
  values.Cnae = line.at(172, 7);
  // DDMMYYYYHHMM; the separators are written even when the line stops before the date.
  values.DataCNPJ = line.at(189, 2) + u'/' + line.at(191, 2) + u'/' + line.at(193, 4) + u' ' +
                    line.at(197, 2) + u':' + line.at(199, 2);
  return values;
}
