#include "import/ListIndexError.h"

ListIndexError::ListIndexError(qsizetype index)
    : AppError(QStringLiteral("List index out of bounds (%1)").arg(index)), index_(index) {}
