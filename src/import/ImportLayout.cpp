#include "import/ImportLayout.h"

#include <algorithm>

#include "common/funcoes.h"

QString ExtensaoARQ(const QString& path) {
  // The path may come from Windows, whatever system runs the program.
  const qsizetype nameStart = std::max(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\')) + 1;
  const qsizetype dot = path.lastIndexOf(u'.');
  if (dot < nameStart) return {};
  return asciiUpper(path.mid(dot + 1));
}

ImportLayout layoutForFile(const QString& path) {
  return ExtensaoARQ(path) == u"CSV" ? ImportLayout::Delimited : ImportLayout::FixedColumn;
}
