#include "import/ImportLayout.h"

#include <algorithm>

QString ExtensaoARQ(const QString& path) {
  // The path may come from Windows, whatever system runs the program.
  const qsizetype nameStart = std::max(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\')) + 1;
  const qsizetype dot = path.lastIndexOf(u'.');
  if (dot < nameStart) return {};
  QString extension = path.mid(dot + 1);
  for (QChar& c : extension) {
    if (c >= u'a' && c <= u'z') c = QChar(c.unicode() - u'a' + u'A');
  }
  return extension;
}

ImportLayout layoutForFile(const QString& path) {
  return ExtensaoARQ(path) == u"CSV" ? ImportLayout::Delimited : ImportLayout::FixedColumn;
}
