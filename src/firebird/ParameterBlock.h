#pragma once

#include <QByteArray>

namespace fb {

// The bytes of a database or transaction parameter block: a version byte, then items of a tag
// alone or a tag, a one-byte length and a value.
class ParameterBlock {
 public:
  explicit ParameterBlock(char version) : bytes_(1, version) {}

  void add(char tag) { bytes_ += tag; }
  void add(char tag, const QByteArray& value);  // throws fb::Error past 255 bytes
  void add(char tag, int value);                // four bytes, little-endian

  const char* data() const { return bytes_.constData(); }
  short size() const { return static_cast<short>(bytes_.size()); }

 private:
  QByteArray bytes_;
};

}  // namespace fb
