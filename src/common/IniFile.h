#pragma once

#include <QString>

// A settings file in INI form, read and written by the rules of the Windows profile functions:
// section and key names match without regard to case, the first match wins, blanks (spaces
// and tabs) around a value are dropped and one pair of matching quotes around it too. A missing
// file, section or key gives the caller's default; a key present with no value gives "".
//
// Every call opens the file, does its work and closes it again, so nothing is cached.
//
// Encoding: a file is read as UTF-8 when it starts with a UTF-8 byte order mark or when its
// bytes are valid UTF-8, otherwise as Windows-1252 (the code page of the suite's tools). It is
// written back in the encoding it was read in; a new file is Windows-1252. A value that
// Windows-1252 cannot hold turns the file into UTF-8 rather than lose characters.
//
// A write changes one line, or adds the lines it needs, and leaves every other byte of the
// file as it was. It throws AppError when the file cannot be written.
class IniFile {
 public:
  explicit IniFile(QString path);

  const QString& path() const { return path_; }

  QString readString(const QString& section, const QString& key, const QString& defaultValue) const;
  // The default also when the value is not a whole decimal number within the range of int.
  int readInteger(const QString& section, const QString& key, int defaultValue) const;

  // A value with blanks at its ends, or wrapped in quotes, is written inside double quotes so
  // that it reads back unchanged. Line breaks cannot be stored and are refused.
  void writeString(const QString& section, const QString& key, const QString& value) const;
  void writeInteger(const QString& section, const QString& key, int value) const;

 private:
  QString path_;
};
