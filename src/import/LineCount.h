#pragma once

#include <QString>

// The number of lines in the file, where CR, LF and CR LF each end a line and a break at the
// very end adds no empty line. Reads in constant memory; throws AppError when the file
// cannot be opened or read.
qint64 countLines(const QString& path);
