#pragma once

#include <QString>

// The two layouts of a campaign file, chosen once per import from the file's name.
enum class ImportLayout { FixedColumn, Delimited };

// The extension of the file name (not of a folder), without its '.', upper-cased in
// ASCII only; empty when the name has none. Both '/' and '\' separate folders.
QString ExtensaoARQ(const QString& path);

// Delimited for a "CSV" extension, fixed-column for any other or none.
ImportLayout layoutForFile(const QString& path);
