#include "firebird/LibraryFile.h"

#include <QFile>
#include <QtEndian>

namespace fb {

namespace {

constexpr qint64 kHeaderBytes = 4096;
const QByteArray kElfMagic = QByteArrayLiteral("\x7F\x45\x4C\x46");  // 0x7F "ELF"

int elfBits(const QByteArray& head) {
  if (head.size() < 5) return 0;
  switch (head[4]) {
    case 1:
      return 32;
    case 2:
      return 64;
    default:
      return 0;
  }
}

// The optional header's magic tells PE32 from PE32+, whatever the processor.
int peBits(const QByteArray& head) {
  if (head.size() < 0x40) return 0;
  const quint32 peOffset = qFromLittleEndian<quint32>(head.constData() + 0x3C);
  const qint64 magicAt = qint64(peOffset) + 24;
  if (magicAt + 2 > head.size() || head.mid(peOffset, 4) != QByteArray("PE\0\0", 4)) return 0;
  switch (qFromLittleEndian<quint16>(head.constData() + magicAt)) {
    case 0x10B:
      return 32;
    case 0x20B:
      return 64;
    default:
      return 0;
  }
}

}  // namespace

int libraryBits(const QString& file) {
  QFile f(file);
  if (!f.open(QIODevice::ReadOnly)) return 0;
  const QByteArray head = f.read(kHeaderBytes);
  if (head.startsWith(kElfMagic)) return elfBits(head);
  if (head.startsWith("MZ")) return peBits(head);
  return 0;
}

}  // namespace fb
