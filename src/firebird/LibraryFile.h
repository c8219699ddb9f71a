#pragma once

#include <QString>

namespace fb {

// The word size a shared library file was built for, read from its header (PE or ELF), so that
// a failed load can say why. 0 when the file is neither.
int libraryBits(const QString& file);

}  // namespace fb
