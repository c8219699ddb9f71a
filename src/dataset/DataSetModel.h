#pragma once

#include <QAbstractTableModel>
#include <QPointer>
#include <QString>

#include <vector>

#include "dataset/ClientDataSet.h"

// A grid's view of an in-memory set: rows in the set's present order, one column per given
// field. Edits made through it are posted to the set and stay in memory.
class DataSetModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  struct Column {
    QString field;
    QString title;  // empty: the field name
  };

  // The record number (1-based position) of a row, which decides its stripe.
  static constexpr int RecNoRole = Qt::UserRole + 1;

  // The set's fields must be defined; a column naming no field of the set throws.
  DataSetModel(ClientDataSet* set, std::vector<Column> columns, QObject* parent = nullptr);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  // Text in the field's own form: a whole number or a date (and time) in the regional forms,
  // empty for null; or any text. A stored row is posted at once; the row being inserted takes
  // the text and stays started until the grid leaves it. Throws the set's refusal, the set as it
  // was; so does a stored row while another row is started.
  void writeText(const QModelIndex& index, const QString& text);
  // writeText, false instead of a refusal.
  bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
  // One row at a time: a new row shown before the given one, started in the set; the set's
  // current row dropped. False when the set refuses.
  bool insertRows(int row, int count, const QModelIndex& parent = QModelIndex()) override;
  bool removeRows(int row, int count, const QModelIndex& parent = QModelIndex()) override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;

  // The set's current row, or the row being inserted; -1 when none. Moving posts a started row
  // first, which may throw.
  int currentRow() const;
  void setCurrentRow(int row);

 signals:
  void currentRowChanged(int row);

 private:
  bool holds(const QModelIndex& index) const;
  int startedRow() const;  // the row being inserted, -1 when none

  QPointer<ClientDataSet> set_;
  std::vector<Column> columns_;
  std::vector<int> fields_;  // the set's field index for each column
};
