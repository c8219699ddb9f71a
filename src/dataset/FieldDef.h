#pragma once

#include <QString>

enum class FieldType { Integer, String, DateTime, Blob };

// A field of an in-memory set, defined before the set is opened.
struct FieldDef {
  QString name;
  FieldType type = FieldType::String;
  int size = 0;  // String: the width in bytes that a text put into the field is cut to
  bool required = false;
  QString lookupKeyFields;  // blank for a data field
};
