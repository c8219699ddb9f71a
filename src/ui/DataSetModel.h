#pragma once

#include <QAbstractTableModel>
#include <QPointer>
#include <QString>

#include <vector>

#include "data/ClientDataSet.h"

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
  // empty for null; or any text. False, and the set unchanged, for a text that does not fit or
  // while the set has a started row.
  bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;

  // The set's current row; -1 when none. Moving posts a started row first, which may throw.
  int currentRow() const;
  void setCurrentRow(int row);

 signals:
  void currentRowChanged(int row);

 private:
  bool holds(const QModelIndex& index) const;

  QPointer<ClientDataSet> set_;
  std::vector<Column> columns_;
  std::vector<int> fields_;  // the set's field index for each column
};
