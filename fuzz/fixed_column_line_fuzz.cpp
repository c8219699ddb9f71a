#include "FuzzSupport.h"

#include "import/FixedColumnLine.h"

namespace {

const QString kExercicio = QStringLiteral("2024");

qsizetype codePoints(const QString& text) {
  return static_cast<qsizetype>(text.toStdU32String().size());
}

bool isAscii(const QByteArray& bytes) {
  for (const char b : bytes) {
    if (static_cast<unsigned char>(b) >= 0x80) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QByteArray Linha = fuzzBytes(data, size);
  const std::optional<LineValues> values = readFixedColumnLine(Linha, kExercicio);
  FUZZ_CHECK(readFixedColumnLine(Linha, kExercicio) == values);
  if (!values) return 0;

  FUZZ_CHECK(Linha.startsWith('2'));
  FUZZ_CHECK(values->Tipo == kPartido || values->Tipo == kCandidato);
  if (values->Tipo == kPartido) {
    FUZZ_CHECK(values->Ano == kExercicio);
    FUZZ_CHECK(codePoints(values->Nome) <= 150);
  } else {
    FUZZ_CHECK(codePoints(values->Ano) <= 4);
    FUZZ_CHECK(codePoints(values->Nome) <= 137);
  }
  FUZZ_CHECK(codePoints(values->CNPJ) <= 14);
  FUZZ_CHECK(codePoints(values->NatJur) <= 4);
  FUZZ_CHECK(codePoints(values->Cnae) <= 7);
  // Two digits, two, four, two and two, with the four separators.
  FUZZ_CHECK(codePoints(values->DataCNPJ) >= 4 && codePoints(values->DataCNPJ) <= 16);

  // In an ASCII line a byte is a character, so the columns are plain byte positions.
  if (isAscii(Linha)) FUZZ_CHECK(values->CNPJ == QString::fromLatin1(Linha.mid(3, 14)));
  return 0;
}
