#include "dataset/ClientDataSet.h"

#include <algorithm>
#include <numeric>
#include <stdexcept>

#include "common/AppError.h"
#include "common/Conversions.h"
#include "common/Win1252.h"

namespace {

// Brackets a change of the rows as a whole, so a view never sees it half done.
class ResetScope {
 public:
  explicit ResetScope(ClientDataSet& set) : set_(set) { emit set_.aboutToReset(); }
  ~ResetScope() { emit set_.resetDone(); }
  ResetScope(const ResetScope&) = delete;
  ResetScope& operator=(const ResetScope&) = delete;

 private:
  ClientDataSet& set_;
};

}  // namespace

std::vector<int> PendingChange::changedFields() const {
  std::vector<int> changed;
  for (std::size_t i = 0; i < current.size(); ++i) {
    if (original[i] != current[i]) changed.push_back(static_cast<int>(i));
  }
  return changed;
}

ClientDataSet::ClientDataSet(QObject* parent) : QObject(parent) {}

void ClientDataSet::setFields(std::vector<FieldDef> fields) {
  if (active()) throw AppError(QStringLiteral("Cannot perform this operation on an open dataset"));
  fields_ = std::move(fields);
}

int ClientDataSet::findField(const QString& name) const {
  for (std::size_t i = 0; i < fields_.size(); ++i) {
    if (fields_[i].name.compare(name, Qt::CaseInsensitive) == 0) return static_cast<int>(i);
  }
  return -1;
}

int ClientDataSet::fieldIndex(const QString& name) const {
  const int index = findField(name);
  if (index < 0) throw AppError(QStringLiteral("Field '%1' not found").arg(name));
  return index;
}

void ClientDataSet::open(RowStore rows) {
  if (!rows.fits(fields_)) throw AppError(QStringLiteral("The rows do not fit the set's fields"));
  std::vector<RowId> order(rows.rowCount());
  std::iota(order.begin(), order.end(), RowId{0});
  RowOrder(rows, sortField()).sort(order);
  {
    ResetScope reset(*this);
    rows_ = std::move(rows);
    order_ = std::move(order);
    positions_.assign(rows_.rowCount(), 0);
    renumber(0, order_.size());
    log_.clear();
    keys_.reset();
    started_.clear();
    modified_ = false;
    state_ = DataSetState::Browse;
    position_ = 0;
    eof_ = order_.empty();
  }
  emit currentChanged(currentPosition());
}

void ClientDataSet::close() {
  if (!active()) return;
  {
    ResetScope reset(*this);
    rows_ = RowStore();
    order_ = {};
    positions_ = {};
    log_ = {};
    keys_.reset();
    started_.clear();
    modified_ = false;
    state_ = DataSetState::Inactive;
    position_ = 0;
    eof_ = true;
  }
  emit currentChanged(-1);
}

qsizetype ClientDataSet::currentPosition() const {
  if (!active() || state_ == DataSetState::Insert || order_.empty()) return -1;
  return position_;
}

void ClientDataSet::moveTo(qsizetype recNo) {
  requireActive();
  checkBrowseMode();
  if (recNo < 1 || recNo > recordCount()) {
    throw AppError(QStringLiteral("Record %1 does not exist").arg(recNo));
  }
  eof_ = false;
  moveToPosition(recNo - 1);
}

void ClientDataSet::first() {
  requireActive();
  checkBrowseMode();
  eof_ = order_.empty();
  moveToPosition(0);
}

void ClientDataSet::next() {
  requireActive();
  checkBrowseMode();
  if (position_ + 1 < recordCount()) {
    eof_ = false;
    moveToPosition(position_ + 1);
  } else {
    eof_ = true;
  }
}

bool ClientDataSet::locate(const QString& keyField, qint32 key) {
  requireActive();
  checkBrowseMode();
  const int index = fieldIndex(keyField);
  if (field(index).type != FieldType::Integer) {
    throw AppError(QStringLiteral("Field '%1' is not an integer field").arg(field(index).name));
  }
  if (!keys_ || keys_->field() != index) keys_.emplace(rows_, index, order_);
  const std::optional<RowId> row = keys_->find(key);
  if (!row) return false;
  eof_ = false;
  moveToPosition(positions_[*row]);
  return true;
}

FieldValue ClientDataSet::value(int index) const {
  requireActive();
  checkField(index);
  if (started()) return started_[index];
  if (order_.empty()) return {};
  return rows_.value(order_[position_], index);
}

FieldValue ClientDataSet::valueAt(qsizetype position, int index) const {
  requireActive();
  checkField(index);
  const RowId row = order_.at(position);
  if (state_ == DataSetState::Edit && position == position_) return started_[index];
  return rows_.value(row, index);
}

void ClientDataSet::beginInsert() {
  requireActive();
  checkBrowseMode();
  {
    // A grid shows the started row before the current one, so its rows change.
    ResetScope reset(*this);
    started_.assign(fields_.size(), FieldValue{});
    modified_ = false;
    state_ = DataSetState::Insert;
  }
  emit currentChanged(-1);
}

qsizetype ClientDataSet::insertPosition() const {
  if (state_ != DataSetState::Insert) return -1;
  return order_.empty() ? 0 : position_;
}

void ClientDataSet::beginEdit() {
  requireActive();
  if (started()) return;
  if (order_.empty()) throw AppError(QStringLiteral("There is no row to edit"));
  started_ = rows_.row(order_[position_]);
  modified_ = false;
  state_ = DataSetState::Edit;
}

void ClientDataSet::setValue(int index, FieldValue value) {
  requireStarted();
  value = FitToField(field(index), std::move(value));
  rows_.check(index, value);
  started_[index] = std::move(value);
  modified_ = true;
  if (state_ == DataSetState::Edit) emit rowChanged(position_);
}

FieldValue FitToField(const FieldDef& def, FieldValue value) {
  if (auto* bytes = std::get_if<QByteArray>(&value);
      bytes != nullptr && def.type == FieldType::String) {
    const qsizetype nul = bytes->indexOf('\0');
    if (nul >= 0) bytes->truncate(nul);
    if (def.size > 0 && bytes->size() > def.size) bytes->truncate(def.size);
  }
  return value;
}

void ClientDataSet::setText(int index, const QString& text) {
  switch (field(index).type) {
    case FieldType::Integer:
      setValue(index, StrToInt(text));
      break;
    case FieldType::DateTime:
      setValue(index, StrToDateTimeChecked(text));
      break;
    case FieldType::String:
    case FieldType::Blob:
      setValue(index, win1252::encode(text));
      break;
  }
}

RowId ClientDataSet::currentRowId() const {
  if (currentPosition() < 0) throw AppError(QStringLiteral("There is no current row"));
  return order_[position_];
}

bool ClientDataSet::isPending(RowId row) const {
  return std::any_of(log_.begin(), log_.end(),
                     [row](const PendingChange& e) { return e.row == row; });
}

void ClientDataSet::post() {
  requireStarted();
  for (std::size_t i = 0; i < fields_.size(); ++i) {
    if (fields_[i].required && isNull(started_[i])) {
      throw AppError(QStringLiteral("Field '%1' must have a value").arg(fields_[i].name));
    }
  }
  if (state_ == DataSetState::Insert) {
    const RowId row = rows_.append(started_);
    if (keys_) keys_->add(started_[keys_->field()], row);
    log_.push_back(
        {ChangeKind::Insert, row, std::vector<FieldValue>(fields_.size()), rows_.row(row)});
    endStarted();
    place(row);
  } else {
    const RowId row = order_[position_];
    auto entry = logEntry(row);
    if (entry == log_.end()) {
      log_.push_back({ChangeKind::Modify, row, rows_.row(row), {}});
      entry = log_.end() - 1;
    }
    writeRow(row, started_);
    entry->current = rows_.row(row);
    endStarted();
    reposition(row);
  }
}

void ClientDataSet::cancel() {
  if (!started()) return;
  if (state_ == DataSetState::Insert) {
    {
      ResetScope reset(*this);
      endStarted();
    }
    emit currentChanged(currentPosition());
  } else {
    endStarted();
    emit rowChanged(position_);
  }
}

void ClientDataSet::deleteRecord() {
  requireActive();
  const bool inserting = state_ == DataSetState::Insert;
  cancel();
  if (inserting) return;
  if (order_.empty())
    throw AppError(QStringLiteral("Cannot perform this operation on an empty dataset"));
  const RowId row = order_[position_];
  if (const auto entry = logEntry(row); entry != log_.end()) log_.erase(entry);
  unplace(row);
}

void ClientDataSet::checkBrowseMode() {
  if (!started()) return;
  if (modified_) {
    post();
  } else {
    cancel();
  }
}

void ClientDataSet::acceptChange(RowId row) {
  log_.erase(pendingEntry(row));
}

void ClientDataSet::refuseChange(RowId row, ReconcileAction action) {
  const auto entry = pendingEntry(row);
  if (action == ReconcileAction::Correct) return;
  const PendingChange undone = std::move(*entry);
  log_.erase(entry);
  if (undone.kind == ChangeKind::Insert) {
    unplace(row);
  } else {
    writeRow(row, undone.original);
    reposition(row);
  }
}

void ClientDataSet::addIndexDef(const QString& name, const QString& fields, bool descending) {
  if (findIndexDef(name) != nullptr) {
    throw AppError(QStringLiteral("Duplicate index name '%1'").arg(name));
  }
  indexDefs_.push_back({name, fields, descending});
}

void ClientDataSet::clearIndexDefs() {
  indexDefs_.clear();
  if (activeIndex_.isEmpty()) return;
  activeIndex_.clear();
  reorder();
}

const IndexDef* ClientDataSet::findIndexDef(const QString& name) const {
  for (const IndexDef& def : indexDefs_) {
    if (def.name.compare(name, Qt::CaseInsensitive) == 0) return &def;
  }
  return nullptr;
}

const IndexDef& ClientDataSet::indexDef(const QString& name) const {
  const IndexDef* def = findIndexDef(name);
  if (def == nullptr) throw AppError(QStringLiteral("Index '%1' not found").arg(name));
  return *def;
}

void ClientDataSet::setActiveIndex(const QString& name) {
  const QString activated = name.isEmpty() ? QString() : indexDef(name).name;
  if (!activated.isEmpty()) fieldIndex(indexDef(activated).fields);
  checkBrowseMode();
  activeIndex_ = activated;
  if (!activated.isEmpty()) indexFieldNames_.clear();
  reorder();
}

void ClientDataSet::setIndexFieldNames(const QString& fields) {
  if (!fields.isEmpty()) fieldIndex(fields);
  checkBrowseMode();
  indexFieldNames_ = fields;
  if (!fields.isEmpty()) activeIndex_.clear();
  reorder();
}

void ClientDataSet::requireActive() const {
  if (!active())
    throw AppError(QStringLiteral("Cannot perform this operation on a closed dataset"));
}

void ClientDataSet::checkField(int index) const {
  if (index < 0 || index >= static_cast<int>(fields_.size())) {
    throw std::out_of_range("no field at this index");
  }
}

void ClientDataSet::requireStarted() const {
  if (!started()) throw AppError(QStringLiteral("Dataset not in edit or insert mode"));
}

std::optional<SortField> ClientDataSet::sortField() const {
  if (!activeIndex_.isEmpty()) {
    const IndexDef& def = indexDef(activeIndex_);
    return SortField{fieldIndex(def.fields), def.descending};
  }
  if (!indexFieldNames_.isEmpty()) return SortField{fieldIndex(indexFieldNames_), false};
  return std::nullopt;
}

void ClientDataSet::reorder() {
  if (!active()) return;
  std::vector<RowId> order = order_;
  RowOrder(rows_, sortField()).sort(order);
  {
    ResetScope reset(*this);
    const std::optional<RowId> current =
        order_.empty() ? std::nullopt : std::optional<RowId>(order_[position_]);
    order_ = std::move(order);
    renumber(0, order_.size());
    if (current) position_ = positions_[*current];
  }
  emit currentChanged(currentPosition());
}

void ClientDataSet::renumber(std::size_t from, std::size_t to) {
  for (std::size_t i = from; i < to; ++i) positions_[order_[i]] = static_cast<quint32>(i);
}

void ClientDataSet::moveToPosition(qsizetype position) {
  if (position == position_) return;
  position_ = position;
  emit currentChanged(currentPosition());
}

// A posted new row takes its place in the present order and becomes current.
void ClientDataSet::place(RowId row) {
  const RowOrder order(rows_, sortField());
  {
    ResetScope reset(*this);
    const auto at = std::lower_bound(order_.begin(), order_.end(), row, order);
    const std::size_t index = static_cast<std::size_t>(at - order_.begin());
    order_.insert(at, row);
    positions_.resize(rows_.rowCount());
    renumber(index, order_.size());
    position_ = static_cast<qsizetype>(index);
    eof_ = false;
  }
  emit currentChanged(currentPosition());
}

// A stored row whose values changed moves to where the present order now puts it.
void ClientDataSet::reposition(RowId row) {
  const std::size_t from = positions_[row];
  const RowOrder order(rows_, sortField());
  // Every other row is still in order, so search the part above and the part below it.
  const auto begin = order_.begin();
  const auto at = begin + static_cast<std::ptrdiff_t>(from);
  auto target = std::lower_bound(begin, at, row, order);
  if (target == at) target = std::lower_bound(at + 1, order_.end(), row, order) - 1;
  const std::size_t to = static_cast<std::size_t>(target - begin);
  if (to == from) {
    emit rowChanged(static_cast<qsizetype>(from));
    return;
  }
  const RowId current = order_[position_];
  {
    ResetScope reset(*this);
    if (to < from) {
      std::rotate(begin + static_cast<std::ptrdiff_t>(to), at, at + 1);
    } else {
      std::rotate(at, at + 1, begin + static_cast<std::ptrdiff_t>(to) + 1);
    }
    renumber(std::min(from, to), std::max(from, to) + 1);
    position_ = positions_[current];
  }
  emit currentChanged(currentPosition());
}

// A refused insert that is cancelled leaves the order; the row's storage is left unused.
void ClientDataSet::unplace(RowId row) {
  if (keys_) keys_->remove(rows_.value(row, keys_->field()), row);
  const std::size_t at = positions_[row];
  {
    ResetScope reset(*this);
    order_.erase(order_.begin() + static_cast<std::ptrdiff_t>(at));
    renumber(at, order_.size());
    if (static_cast<std::size_t>(position_) > at) --position_;
    position_ = std::min(position_, std::max<qsizetype>(recordCount() - 1, 0));
    eof_ = order_.empty();
  }
  emit currentChanged(currentPosition());
}

void ClientDataSet::writeRow(RowId row, const std::vector<FieldValue>& values) {
  const FieldValue oldKey = keys_ ? rows_.value(row, keys_->field()) : FieldValue{};
  rows_.setRow(row, values);
  if (keys_) {
    keys_->remove(oldKey, row);
    keys_->add(values[keys_->field()], row);
  }
}

std::vector<PendingChange>::iterator ClientDataSet::logEntry(RowId row) {
  return std::find_if(log_.begin(), log_.end(),
                      [row](const PendingChange& e) { return e.row == row; });
}

std::vector<PendingChange>::iterator ClientDataSet::pendingEntry(RowId row) {
  if (started()) throw std::logic_error("changes are settled while no row is started");
  const auto entry = logEntry(row);
  if (entry == log_.end()) throw std::logic_error("the row has no pending change");
  return entry;
}

void ClientDataSet::endStarted() {
  started_.clear();
  modified_ = false;
  state_ = DataSetState::Browse;
}
