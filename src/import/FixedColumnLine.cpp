#include "import/FixedColumnLine.h"

#include "common/funcoes.h"

#include <algorithm>
#include <string>

namespace {

// Bounds of the second byte of a well-formed sequence, by its first byte; the later bytes are
// always 80 to BF. Excludes overlong forms, surrogates and code points above U+10FFFF.
struct Lead {
  int length;
  unsigned char low;
  unsigned char high;
};

Lead leadOf(unsigned char byte) {
  if (byte >= 0xC2 && byte <= 0xDF) return {2, 0x80, 0xBF};
  if (byte == 0xE0) return {3, 0xA0, 0xBF};
  if (byte == 0xED) return {3, 0x80, 0x9F};
  if (byte >= 0xE1 && byte <= 0xEF) return {3, 0x80, 0xBF};
  if (byte == 0xF0) return {4, 0x90, 0xBF};
  if (byte >= 0xF1 && byte <= 0xF3) return {4, 0x80, 0xBF};
  if (byte == 0xF4) return {4, 0x80, 0x8F};
  return {0, 0, 0};
}

// UTF-8 to code points, one U+FFFD for each maximal subpart of an ill-formed sequence (the
// Unicode practice): a sequence cut short takes one position, as the character it stood for
// would have, so the columns after it stay where they were. A byte-order mark stays a
// character, so a first line that carries one is no detail line.
std::u32string decode(const QByteArray& Linha) {
  std::u32string line;
  line.reserve(static_cast<std::size_t>(Linha.size()));
  const auto byteAt = [&Linha](qsizetype i) { return static_cast<unsigned char>(Linha[i]); };
  qsizetype i = 0;
  while (i < Linha.size()) {
    const unsigned char first = byteAt(i++);
    if (first < 0x80) {
      line.push_back(first);
      continue;
    }
    const Lead lead = leadOf(first);
    if (lead.length == 0) {
      line.push_back(U'\uFFFD');
      continue;
    }
    char32_t codePoint = first & (0xFF >> (lead.length + 1));
    int taken = 1;
    while (taken < lead.length && i < Linha.size()) {
      const unsigned char next = byteAt(i);
      const bool fits =
          taken == 1 ? next >= lead.low && next <= lead.high : next >= 0x80 && next <= 0xBF;
      if (!fits) break;
      codePoint = (codePoint << 6) | (next & 0x3F);
      ++taken;
      ++i;
    }
    line.push_back(taken == lead.length ? codePoint : U'\uFFFD');
  }
  return line;
}

// The line as code points, so that every character takes one position: one written with
// several UTF-8 bytes, and one outside the BMP (two UTF-16 units), alike.
class Columns {
 public:
  explicit Columns(const QByteArray& Linha) : line_(decode(Linha)) {}

  // Positions from 1; a read past the end yields the part that exists.
  QString at(std::size_t position, std::size_t length) const {
    return QString::fromStdU32String(line_.substr(std::min(position - 1, line_.size()), length));
  }

 private:
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
