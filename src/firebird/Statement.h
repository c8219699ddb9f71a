#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <variant>
#include <vector>

#include "firebird/Sqlda.h"
#include "firebird/Transaction.h"

namespace fb {

// One prepared statement with positional parameters. It can be executed again, in the same
// or another transaction of its attachment; a select is read through open() and fetch().
class Statement {
 public:
  enum class ColumnKind { Integer, Text, Timestamp, Other };

  Statement(Attachment& attachment, Transaction& transaction, const QString& sql);
  ~Statement();
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;

  // Parameters, 0-based. Text goes as Windows-1252 bytes; timestamps carry no time zone.
  int parameterCount() const { return static_cast<int>(params_.size()); }
  void setNull(int index);
  void setInteger(int index, qint64 value);
  void setText(int index, const QString& text);
  void setBytes(int index, const QByteArray& windows1252);
  void setTimestamp(int index, const QDateTime& value);

  void execute(Transaction& transaction);
  // Runs a select that yields at most one row, reading it in the same round trip; false when
  // there is none.
  bool executeSingleton(Transaction& transaction);
  // Rows affected by the last execute (a round trip to the server).
  unsigned affectedRows();

  void open(Transaction& transaction);
  bool fetch();  // false once past the last row
  void close();  // never fails: the rows of an ended transaction are closed already
  bool isOpen() const { return cursorOpen_; }

  // Columns of the row last fetched, 0-based.
  int columnCount() const { return static_cast<int>(columns_.size()); }
  QString columnName(int index) const { return columns_.at(index).name; }
  ColumnKind columnKind(int index) const;
  int columnIndex(const QString& name) const;  // by alias, case-blind; throws when absent
  bool isNull(int index) const;
  qint64 integer(int index) const;
  QByteArray bytes(int index) const;  // text as stored (Windows-1252), CHAR blanks kept
  // The same without a copy, valid until the next fetch or execute.
  QByteArrayView bytesView(int index) const;
  QString text(int index) const;
  QDateTime timestamp(int index) const;
  // The same as milliseconds since 1970 of its wall clock, read as if it were UTC; 0 for null.
  qint64 wallClockMSecs(int index) const;

 private:
  using Param = std::variant<std::monostate, qint64, QByteArray, QDateTime>;
  // What a parameter's place in the input message is typed for: the server's own type, or the
  // type of one kind of value, which the server converts to its own.
  enum class SlotKind { Described, Integer, Text, Timestamp };
  struct Slot {
    SlotKind kind;
    unsigned capacity;  // bytes of text it holds
    unsigned offset = 0, nullOffset = 0;
  };
  struct Column {
    QString name;
    unsigned type, offset, nullOffset, length;
    int scale;
  };

  void freeHandle();
  // Executes; false when the server answered with answerCode (0: none expected) instead.
  bool run(Transaction& transaction, ISC_STATUS answerCode);
  void setParam(int index, Param value);
  // Lays the input out for places, which then become the statement's.
  void buildInput(std::vector<Slot> places);
  // Writes the values set into the input, laying it out anew only for a value that does not fit
  // its place (another kind, or a longer text).
  void bindInput();
  void describeOutput();
  XSQLDA* inputArea() const { return params_.empty() ? nullptr : input_.get(); }
  const Column& column(int index) const;
  const unsigned char* data(const Column& c) const { return outBuffer_.data() + c.offset; }

  Attachment& attachment_;
  isc_stmt_handle handle_ = 0;
  Sqlda described_;  // input as the server describes it
  Sqlda input_;      // input as the values are sent
  Sqlda output_;
  bool cursorOpen_ = false;
  std::vector<Param> params_;
  std::vector<Slot> slots_;
  std::vector<unsigned char> inBuffer_;
  std::vector<Column> columns_;
  std::vector<unsigned char> outBuffer_;
  bool hasRow_ = false;
};

}  // namespace fb
