#include "dataset/DataSetModel.h"

#include <QTime>

#include <algorithm>

#include "common/AppError.h"
#include "common/RegionalForms.h"
#include "common/Win1252.h"

namespace {

QString displayText(const FieldValue& value) {
  if (isNull(value)) return {};
  if (const auto* integer = std::get_if<qint32>(&value)) return QString::number(*integer);
  if (const auto* bytes = std::get_if<QByteArray>(&value)) return win1252::decode(*bytes);
  // A timestamp at midnight shows its date alone, as date-time fields display.
  const QDateTime& timestamp = std::get<QDateTime>(value);
  return timestamp.time() == QTime(0, 0) ? DateToStr(timestamp.date()) : DateTimeToStr(timestamp);
}

}  // namespace

DataSetModel::DataSetModel(ClientDataSet* set, std::vector<Column> columns, QObject* parent)
    : QAbstractTableModel(parent), set_(set), columns_(std::move(columns)) {
  for (const Column& column : columns_) fields_.push_back(set->fieldIndex(column.field));
  connect(set, &ClientDataSet::aboutToReset, this, &DataSetModel::beginResetModel);
  connect(set, &ClientDataSet::resetDone, this, &DataSetModel::endResetModel);
  connect(set, &ClientDataSet::rowChanged, this, [this](qsizetype position) {
    const int row = static_cast<int>(position);
    emit dataChanged(index(row, 0), index(row, columnCount() - 1));
  });
  connect(set, &ClientDataSet::currentChanged, this,
          [this](qsizetype position) { emit currentRowChanged(static_cast<int>(position)); });
}

int DataSetModel::rowCount(const QModelIndex& parent) const {
  if (parent.isValid() || set_ == nullptr || !set_->active()) return 0;
  return static_cast<int>(set_->recordCount()) + (startedRow() >= 0 ? 1 : 0);
}

int DataSetModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

QVariant DataSetModel::data(const QModelIndex& index, int role) const {
  if (!holds(index)) return {};
  if (role == RecNoRole) return index.row() + 1;
  if (role == Qt::TextAlignmentRole) {
    // Numbers line up on the right, as the grid shows integer fields.
    const bool number = set_->fields()[fields_[index.column()]].type == FieldType::Integer;
    return int((number ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
  }
  if (role != Qt::DisplayRole && role != Qt::EditRole) return {};
  const int field = fields_[index.column()];
  const int started = startedRow();
  if (index.row() == started) return displayText(set_->value(field));
  const int stored = started >= 0 && index.row() > started ? index.row() - 1 : index.row();
  return displayText(set_->valueAt(stored, field));
}

void DataSetModel::writeText(const QModelIndex& index, const QString& text) {
  if (!holds(index)) throw AppError(QStringLiteral("The cell is not in the grid"));
  const int field = fields_[index.column()];
  const bool textField = set_->fields()[field].type == FieldType::String ||
                         set_->fields()[field].type == FieldType::Blob;
  const bool started = index.row() == startedRow();
  if (!started) {
    if (set_->state() != DataSetState::Browse) {
      throw AppError(QStringLiteral("Another row is being edited"));
    }
    set_->moveTo(index.row() + 1);
    set_->beginEdit();
  }
  try {
    // A cleared number or timestamp cell holds nothing, as the grid's own editor does it.
    if (!textField && text.trimmed().isEmpty()) {
      set_->setNull(field);
    } else {
      set_->setText(field, text);
    }
    if (!started) set_->post();
  } catch (const std::exception&) {
    if (!started) set_->cancel();
    throw;
  }
  if (started)
    emit dataChanged(this->index(index.row(), 0), this->index(index.row(), columnCount() - 1));
}

bool DataSetModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  if (role != Qt::EditRole) return false;
  // No exception may leave a Qt frame: a refused text leaves the set as it was.
  try {
    writeText(index, value.toString());
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

bool DataSetModel::insertRows(int row, int count, const QModelIndex& parent) {
  // Before a row that is there, or as the first row of an empty set.
  if (parent.isValid() || count != 1 || set_ == nullptr || !set_->active() || row < 0 ||
      row >= std::max(rowCount(), 1)) {
    return false;
  }
  try {
    setCurrentRow(row);
    set_->beginInsert();
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

bool DataSetModel::removeRows(int row, int count, const QModelIndex& parent) {
  if (parent.isValid() || count != 1 || row < 0 || row >= rowCount()) return false;
  try {
    setCurrentRow(row);
    set_->deleteRecord();
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

Qt::ItemFlags DataSetModel::flags(const QModelIndex& index) const {
  if (!holds(index)) return Qt::NoItemFlags;
  return Qt::ItemIsSelectable | Qt::ItemIsEnabled | Qt::ItemIsEditable;
}

QVariant DataSetModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
      section >= columnCount()) {
    return QAbstractTableModel::headerData(section, orientation, role);
  }
  const Column& column = columns_[static_cast<std::size_t>(section)];
  return column.title.isEmpty() ? column.field : column.title;
}

// Unlike checkIndex(), silent: views ask about invalid indexes as a matter of course.
bool DataSetModel::holds(const QModelIndex& index) const {
  return index.isValid() && index.model() == this && index.row() < rowCount() &&
         index.column() < columnCount();
}

int DataSetModel::startedRow() const {
  return set_ == nullptr ? -1 : static_cast<int>(set_->insertPosition());
}

int DataSetModel::currentRow() const {
  if (set_ == nullptr) return -1;
  const int started = startedRow();
  return started >= 0 ? started : static_cast<int>(set_->currentPosition());
}

void DataSetModel::setCurrentRow(int row) {
  if (row < 0 || row >= rowCount() || row == currentRow()) return;
  const int started = startedRow();
  if (started < 0) {
    set_->moveTo(row + 1);
    return;
  }
  // Leaving the started row posts it, or drops it when nothing was typed; a posted row takes its
  // place in the order, which moves the rows after it down by one.
  qsizetype target = row > started ? row - 1 : row;
  const bool posting = set_->modified();
  set_->checkBrowseMode();
  if (posting && target >= set_->currentPosition()) ++target;
  set_->moveTo(target + 1);
}
