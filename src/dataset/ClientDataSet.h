#pragma once

#include <QObject>
#include <QString>

#include <optional>
#include <vector>

#include "dataset/FieldDef.h"
#include "dataset/FieldValue.h"
#include "dataset/KeyIndex.h"
#include "dataset/RowOrder.h"
#include "dataset/RowStore.h"

enum class DataSetState { Inactive, Browse, Insert, Edit };

enum class ChangeKind { Insert, Modify };

// What becomes of a change that the database refused.
enum class ReconcileAction {
  Correct,  // it stays in the log as posted
  Cancel,   // undone: an edited row returns to its fetched values, an inserted row disappears
};

struct IndexDef {
  QString name;    // compared without regard to letter case
  QString fields;  // one field name
  bool descending = false;
};

// A value as a field holds it: text into a String field ends before a NUL and is cut to the
// field's width, silently.
FieldValue FitToField(const FieldDef& def, FieldValue value);

// A posted row on its way to the table; a write path may replace its new values in a copy.
struct PendingChange {
  ChangeKind kind;
  RowId row;
  std::vector<FieldValue> original;  // as fetched; all null for an insert
  std::vector<FieldValue> current;   // as last posted

  std::vector<int> changedFields() const;
};

// An in-memory result set: all rows of a query, a current row, a started row being inserted or
// edited, a log of posted changes for a write path, lookup by an integer key, and named sort
// orders. Rows are stored once and never move; the present order is a permutation of them.
//
// Failures are AppError with the texts the operator sees, e.g. "Field 'COD_CAM' must have a
// value".
class ClientDataSet : public QObject {
  Q_OBJECT

 public:
  explicit ClientDataSet(QObject* parent = nullptr);

  // Fields are defined while the set is closed.
  void setFields(std::vector<FieldDef> fields);
  const std::vector<FieldDef>& fields() const { return fields_; }
  int findField(const QString& name) const;   // case-blind; -1 when there is none
  int fieldIndex(const QString& name) const;  // case-blind; throws "Field '%s' not found"

  // rows: every row of the query, filled for fields(). Opening an open set replaces its rows.
  // The active order is built over the new rows.
  void open(RowStore rows);
  // Drops the rows, the started row and the change log; index definitions, the active index
  // and the field-list order stay.
  void close();
  bool active() const { return state_ != DataSetState::Inactive; }
  DataSetState state() const { return state_; }

  // The present order. Moving first posts or drops a started row (see checkBrowseMode).
  qsizetype recordCount() const { return static_cast<qsizetype>(order_.size()); }
  qsizetype currentPosition() const;  // 0-based; -1 when no stored row is current
  qsizetype recNo() const { return currentPosition() + 1; }
  void moveTo(qsizetype recNo);
  void first();
  void next();  // at the last row it stays there and sets eof()
  bool eof() const { return eof_; }
  // Makes the earliest row whose keyField equals key current; false, and no move, when none.
  bool locate(const QString& keyField, qint32 key);

  // The current row, or the started one while inserting or editing.
  FieldValue value(int field) const;
  FieldValue value(const QString& field) const { return value(fieldIndex(field)); }
  // The row at a 0-based position of the present order, as the grid shows it.
  FieldValue valueAt(qsizetype position, int field) const;

  // A new row, every column null; it enters the order when posted.
  void beginInsert();
  // While inserting, the position of the row before which the started row is shown (0 in an
  // empty set); -1 otherwise.
  qsizetype insertPosition() const;
  void beginEdit();
  // Text into a String field is cut before its first NUL and to the field's width.
  void setValue(int field, FieldValue value);
  // Into a String field converted to Windows-1252; into an Integer field the whole number it
  // spells, into a DateTime field the regional date (and time) it spells, or AppError.
  void setText(int field, const QString& text);
  void setInteger(int field, qint32 value) { setValue(field, value); }
  void setNull(int field) { setValue(field, FieldValue{}); }
  void setValue(const QString& field, FieldValue v) { setValue(fieldIndex(field), std::move(v)); }
  void setText(const QString& field, const QString& text) { setText(fieldIndex(field), text); }
  void setInteger(const QString& field, qint32 value) { setInteger(fieldIndex(field), value); }
  void setNull(const QString& field) { setNull(fieldIndex(field)); }
  // Throws "Field '%s' must have a value" for a required field still null; the row stays
  // started.
  void post();
  void cancel();
  // Drops the current row, or the row being inserted, from the set, and its change with it:
  // nothing of it is applied, since no write path deletes.
  void deleteRecord();
  bool modified() const { return modified_; }  // a column was set since the row was started
  // Posts a started row when a column was set, drops it otherwise.
  void checkBrowseMode();

  // The change log of posted rows, in the order they were first posted.
  qsizetype changeCount() const { return static_cast<qsizetype>(log_.size()); }
  const std::vector<PendingChange>& pendingChanges() const { return log_; }
  // The stored row that is current, to ask about its change after an apply.
  RowId currentRowId() const;
  bool isPending(RowId row) const;
  // The change leaves the log; the posted values are the row's plain values from now on.
  void acceptChange(RowId row);
  void refuseChange(RowId row, ReconcileAction action);

  void addIndexDef(const QString& name, const QString& fields, bool descending);
  // Also deactivates the active index; a started row stays started.
  void clearIndexDefs();
  qsizetype indexDefCount() const { return static_cast<qsizetype>(indexDefs_.size()); }
  const std::vector<IndexDef>& indexDefs() const { return indexDefs_; }
  const IndexDef* findIndexDef(const QString& name) const;  // case-blind
  const IndexDef& indexDef(const QString& name) const;      // throws "Index '%s' not found"

  // Empty when none. Setting a name orders the rows by that definition (ties in fetch order),
  // after posting a started row; it replaces the field-list order.
  const QString& activeIndex() const { return activeIndex_; }
  void setActiveIndex(const QString& name);
  // One field name, ascending; an alternative to a named index, which it replaces.
  const QString& indexFieldNames() const { return indexFieldNames_; }
  void setIndexFieldNames(const QString& fields);
  // Not blank only on the detail side of a master/detail link.
  const QString& masterFields() const { return masterFields_; }
  void setMasterFields(const QString& fields) { masterFields_ = fields; }

 signals:
  // Around any change of the rows as a whole or of their order.
  void aboutToReset();
  void resetDone();
  // The values shown at a position changed (an edit, a post or a cancel).
  void rowChanged(qsizetype position);
  void currentChanged(qsizetype position);  // -1 when no stored row is current

 private:
  void requireActive() const;
  void requireStarted() const;
  bool started() const { return state_ == DataSetState::Insert || state_ == DataSetState::Edit; }
  void checkField(int index) const;
  const FieldDef& field(int index) const { return fields_.at(index); }
  std::optional<SortField> sortField() const;
  void reorder();
  void renumber(std::size_t from, std::size_t to);
  void moveToPosition(qsizetype position);
  void place(RowId row);
  void reposition(RowId row);
  void unplace(RowId row);
  void writeRow(RowId row, const std::vector<FieldValue>& values);
  std::vector<PendingChange>::iterator logEntry(RowId row);
  std::vector<PendingChange>::iterator pendingEntry(RowId row);  // throws when row has no change
  void endStarted();

  std::vector<FieldDef> fields_;
  DataSetState state_ = DataSetState::Inactive;
  RowStore rows_;
  std::vector<RowId> order_;
  std::vector<quint32> positions_;  // by row id: where the row stands in order_
  qsizetype position_ = 0;
  bool eof_ = true;
  std::vector<FieldValue> started_;
  bool modified_ = false;
  std::vector<PendingChange> log_;
  std::optional<KeyIndex> keys_;  // built by the first locate on a field
  std::vector<IndexDef> indexDefs_;
  QString activeIndex_;
  QString indexFieldNames_;
  QString masterFields_;
};
