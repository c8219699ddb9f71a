#include "FuzzSupport.h"

#include "common/Win1252.h"
#include "import/DelimitedLine.h"
#include "import/DelimitedText.h"
#include "import/ListIndexError.h"

#include <algorithm>

namespace {

const QString kExercicio = QStringLiteral("2024");

void checkSplit(const QString& text, const QStringList& fields) {
  FUZZ_CHECK(fields.isEmpty() == text.isEmpty());
  // Quotes can only hide separators and drop characters, never add fields or text.
  FUZZ_CHECK(fields.size() <= text.count(u';') + 1);
  qsizetype length = 0;
  for (const QString& field : fields) length += field.size();
  FUZZ_CHECK(length <= text.size());
  if (!text.isEmpty() && !text.contains(u'"')) FUZZ_CHECK(fields == text.split(u';'));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const QByteArray Linha = fuzzBytes(data, size);
  const QString text = win1252::decode(Linha);
  const QStringList fields = splitDelimitedText(text);
  checkSplit(text, fields);

  std::optional<LineValues> values;
  try {
    values = readDelimitedLine(Linha, kExercicio);
  } catch (const ListIndexError& error) {
    // The fields are read in order, the seventh at most.
    FUZZ_CHECK(error.index() >= fields.size() && error.index() <= 6);
    return 0;
  }
  if (!values) return 0;

  FUZZ_CHECK(values->Tipo == fields.at(0) && acceptsTipo(values->Tipo));
  FUZZ_CHECK(std::all_of(values->CNPJ.begin(), values->CNPJ.end(),
                         [](QChar c) { return c >= u'0' && c <= u'9'; }));
  if (values->Tipo == kPartido) FUZZ_CHECK(values->Ano == kExercicio);
  return 0;
}
