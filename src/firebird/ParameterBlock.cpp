#include "firebird/ParameterBlock.h"

#include <QtEndian>

#include "firebird/Error.h"

namespace fb {

void ParameterBlock::add(char tag, const QByteArray& value) {
  if (value.size() > 255) {
    throw Error(QStringLiteral("Parameter %1 is longer than 255 bytes").arg(int(tag)));
  }
  bytes_ += tag;
  bytes_ += static_cast<char>(value.size());
  bytes_ += value;
}

void ParameterBlock::add(char tag, int value) {
  char little[4];
  qToLittleEndian<qint32>(value, little);
  bytes_ += tag;
  bytes_ += char(4);
  bytes_ += QByteArray(little, 4);
}

}  // namespace fb
