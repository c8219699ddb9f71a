#include "firebird/Statement.h"

#include <algorithm>
#include <cstring>

#include "common/Win1252.h"
#include "firebird/Status.h"

namespace fb {

namespace {

// Firebird counts days from 1858-11-17 and time in units of 1/10000 second.
constexpr qint64 kJulianDayOfFirebirdEpoch = 2400001;
constexpr unsigned kTimeUnitsPerMsec = 10;
constexpr unsigned kWin1252CharSet = 53;
// The longest text a VARCHAR place of a message holds.
constexpr unsigned kMaxText = 32765;

ISC_TIMESTAMP toFirebird(const QDateTime& value) {
  ISC_TIMESTAMP ts;
  ts.timestamp_date = static_cast<ISC_DATE>(value.date().toJulianDay() - kJulianDayOfFirebirdEpoch);
  ts.timestamp_time =
      static_cast<ISC_TIME>(value.time().msecsSinceStartOfDay()) * kTimeUnitsPerMsec;
  return ts;
}

constexpr qint64 kJulianDayOf1970 = 2440588;
constexpr qint64 kMSecsPerDay = 86'400'000;

qint64 wallClockMSecsOf(ISC_DATE date, ISC_TIME time) {
  return (date + kJulianDayOfFirebirdEpoch - kJulianDayOf1970) * kMSecsPerDay +
         time / kTimeUnitsPerMsec;
}

}  // namespace

Statement::Statement(Attachment& attachment, Transaction& transaction, const QString& sql)
    : attachment_(attachment) {
  Status status(attachment.client(), &attachment);
  const QByteArray text = win1252::encode(sql);
  handle_ = attachment.handle()->prepare(&status, transaction.handle(), 0, text.constData(),
                                         attachment.dialect(),
                                         Firebird::IStatement::PREPARE_PREFETCH_METADATA);
  try {
    described_.reset(handle_->getInputMetadata(&status));
    const unsigned inputs = described_->getCount(&status);
    params_.resize(inputs);
    // Each place is typed for the kind of value its column takes, so that the message is laid
    // out once here and not again for every execution.
    std::vector<Slot> places;
    for (unsigned i = 0; i < inputs; ++i) {
      const unsigned type = described_->getType(&status, i) & ~1u;
      Slot slot{SlotKind::Described, 0};
      if (type == SQL_SHORT || type == SQL_LONG || type == SQL_INT64) {
        if (described_->getScale(&status, i) == 0) slot.kind = SlotKind::Integer;
      } else if (type == SQL_TEXT || type == SQL_VARYING) {
        slot = {SlotKind::Text, std::clamp(described_->getLength(&status, i), 1u, kMaxText)};
      } else if (type == SQL_TIMESTAMP || type == SQL_TYPE_DATE) {
        slot.kind = SlotKind::Timestamp;
      }
      places.push_back(slot);
    }
    buildInput(std::move(places));

    output_.reset(handle_->getOutputMetadata(&status));
    const unsigned count = output_->getCount(&status);
    for (unsigned i = 0; i < count; ++i) {
      columns_.push_back({win1252::decode(output_->getAlias(&status, i)),
                          output_->getType(&status, i) & ~1u, output_->getOffset(&status, i),
                          output_->getNullOffset(&status, i), output_->getLength(&status, i),
                          output_->getScale(&status, i)});
    }
    outBuffer_.resize(output_->getMessageLength(&status));
  } catch (...) {
    freeHandle();
    throw;
  }
}

Statement::~Statement() {
  try {
    close();
  } catch (const Error&) {
    // The cursor is released by close() even when the server cannot be told.
  }
  freeHandle();
}

void Statement::freeHandle() {
  if (handle_ == nullptr) return;
  Status status(attachment_.client(), &attachment_);
  try {
    handle_->free(&status);
  } catch (const Error&) {
    handle_->release();
  }
  handle_ = nullptr;
}

void Statement::setParam(int index, Param value) {
  if (index < 0 || index >= parameterCount()) {
    throw Error(QStringLiteral("Parameter index %1 out of range").arg(index));
  }
  params_[index] = std::move(value);
}

void Statement::setNull(int index) {
  setParam(index, std::monostate{});
}
void Statement::setInteger(int index, qint64 value) {
  setParam(index, value);
}
void Statement::setText(int index, const QString& text) {
  setParam(index, win1252::encode(text));
}
void Statement::setBytes(int index, const QByteArray& windows1252) {
  setParam(index, windows1252);
}
void Statement::setTimestamp(int index, const QDateTime& value) {
  setParam(index, value);
}

void Statement::buildInput(std::vector<Slot> places) {
  Status status(attachment_.client(), &attachment_);
  const Reference<Firebird::IMetadataBuilder> builder(described_->getBuilder(&status));
  for (unsigned i = 0; i < places.size(); ++i) {
    switch (places[i].kind) {
      case SlotKind::Integer:
        builder->setType(&status, i, SQL_INT64 + 1);
        builder->setLength(&status, i, sizeof(ISC_INT64));
        builder->setScale(&status, i, 0);
        break;
      case SlotKind::Text:
        builder->setType(&status, i, SQL_VARYING + 1);
        builder->setLength(&status, i, places[i].capacity);
        builder->setCharSet(&status, i, kWin1252CharSet);
        break;
      case SlotKind::Timestamp:
        builder->setType(&status, i, SQL_TIMESTAMP + 1);
        builder->setLength(&status, i, sizeof(ISC_TIMESTAMP));
        break;
      case SlotKind::Described:
        builder->setType(&status, i, described_->getType(&status, i) | 1);
        break;
    }
  }
  Reference<Firebird::IMessageMetadata> input(builder->getMetadata(&status));
  for (unsigned i = 0; i < places.size(); ++i) {
    places[i].offset = input->getOffset(&status, i);
    places[i].nullOffset = input->getNullOffset(&status, i);
  }
  inBuffer_.assign(input->getMessageLength(&status), 0);
  input_ = std::move(input);
  slots_ = std::move(places);
}

void Statement::bindInput() {
  // The place a value needs; a null one fits any.
  const auto needed = [](const Param& p) -> Slot {
    if (std::holds_alternative<qint64>(p)) return {SlotKind::Integer, 0};
    if (const auto* bytes = std::get_if<QByteArray>(&p)) {
      return {SlotKind::Text, std::max<unsigned>(1, bytes->size())};
    }
    if (std::holds_alternative<QDateTime>(p)) return {SlotKind::Timestamp, 0};
    return {SlotKind::Described, 0};
  };
  const auto fits = [](const Slot& slot, const Slot& need) {
    return need.kind == SlotKind::Described ||
           (slot.kind == need.kind && slot.capacity >= need.capacity);
  };
  std::vector<Slot> places;  // only when a value does not fit
  for (std::size_t i = 0; i < params_.size(); ++i) {
    const Slot need = needed(params_[i]);
    if (fits(slots_[i], need)) continue;
    if (places.empty()) places = slots_;
    places[i] = need;
  }
  if (!places.empty()) buildInput(std::move(places));

  for (std::size_t i = 0; i < params_.size(); ++i) {
    unsigned char* at = inBuffer_.data() + slots_[i].offset;
    auto* nullFlag = reinterpret_cast<short*>(inBuffer_.data() + slots_[i].nullOffset);
    const Param& p = params_[i];
    *nullFlag = std::holds_alternative<std::monostate>(p) ? -1 : 0;
    if (const auto* n = std::get_if<qint64>(&p)) {
      const ISC_INT64 v = *n;
      std::memcpy(at, &v, sizeof v);
    } else if (const auto* bytes = std::get_if<QByteArray>(&p)) {
      const ISC_USHORT length = static_cast<ISC_USHORT>(bytes->size());
      std::memcpy(at, &length, sizeof length);
      std::memcpy(at + sizeof length, bytes->constData(), length);
    } else if (const auto* when = std::get_if<QDateTime>(&p)) {
      const ISC_TIMESTAMP ts = toFirebird(*when);
      std::memcpy(at, &ts, sizeof ts);
    }
  }
}

void Statement::execute(Transaction& transaction) {
  run(transaction, 0);
}

bool Statement::executeSingleton(Transaction& transaction) {
  // No row comes back as a failure status, which a new line of an import meets every time.
  return hasRow_ = run(transaction, isc_stream_eof);
}

bool Statement::run(Transaction& transaction, long answerCode) {
  close();
  bindInput();
  Status status(attachment_.client(), &attachment_);
  status.expect(answerCode);
  handle_->execute(&status, transaction.handle(), input_.get(), inBuffer_.data(), output_.get(),
                   outBuffer_.data());
  return !status.gotExpected();
}

unsigned Statement::affectedRows() {
  Status status(attachment_.client(), &attachment_);
  return static_cast<unsigned>(handle_->getAffectedRecords(&status));
}

void Statement::open(Transaction& transaction) {
  close();
  bindInput();
  Status status(attachment_.client(), &attachment_);
  cursor_ = handle_->openCursor(&status, transaction.handle(), input_.get(), inBuffer_.data(),
                                output_.get(), 0);
  hasRow_ = false;
}

bool Statement::fetch() {
  if (cursor_ == nullptr) throw Error(QStringLiteral("Cursor is not open"));
  Status status(attachment_.client(), &attachment_);
  hasRow_ = cursor_->fetchNext(&status, outBuffer_.data()) == Firebird::IStatus::RESULT_OK;
  return hasRow_;
}

void Statement::close() {
  hasRow_ = false;
  if (cursor_ == nullptr) return;
  Status status(attachment_.client(), &attachment_);
  Firebird::IResultSet* cursor = cursor_;
  cursor_ = nullptr;
  try {
    cursor->close(&status);  // releases the cursor on success
  } catch (const Error&) {
    // The cursor of a transaction that has ended is gone already; nothing is lost by not
    // telling the server again.
    cursor->release();
  }
}

int Statement::columnIndex(const QString& name) const {
  for (int i = 0; i < columnCount(); ++i) {
    if (columns_[i].name.compare(name, Qt::CaseInsensitive) == 0) return i;
  }
  throw Error(QStringLiteral("Column not found: %1").arg(name));
}

const Statement::Column& Statement::column(int index) const {
  if (index < 0 || index >= columnCount()) {
    throw Error(QStringLiteral("Column index %1 out of range").arg(index));
  }
  return columns_[index];
}

Statement::ColumnKind Statement::columnKind(int index) const {
  switch (column(index).type) {
    case SQL_SHORT:
    case SQL_LONG:
    case SQL_INT64:
      return column(index).scale == 0 ? ColumnKind::Integer : ColumnKind::Other;
    case SQL_TEXT:
    case SQL_VARYING:
      return ColumnKind::Text;
    case SQL_TIMESTAMP:
      return ColumnKind::Timestamp;
    default:
      return ColumnKind::Other;
  }
}

bool Statement::isNull(int index) const {
  const Column& c = column(index);
  return *reinterpret_cast<const short*>(outBuffer_.data() + c.nullOffset) != 0;
}

qint64 Statement::integer(int index) const {
  const Column& c = column(index);
  if (isNull(index)) return 0;
  switch (c.type) {
    case SQL_SHORT: {
      ISC_SHORT v;
      std::memcpy(&v, data(c), sizeof v);
      return v;
    }
    case SQL_LONG: {
      ISC_LONG v;
      std::memcpy(&v, data(c), sizeof v);
      return v;
    }
    case SQL_INT64: {
      ISC_INT64 v;
      std::memcpy(&v, data(c), sizeof v);
      return v;
    }
    default:
      throw Error(QStringLiteral("Column %1 is not an integer").arg(c.name));
  }
}

QByteArrayView Statement::bytesView(int index) const {
  const Column& c = column(index);
  if (isNull(index)) return {};
  if (c.type == SQL_VARYING) {
    ISC_USHORT length;
    std::memcpy(&length, data(c), sizeof length);
    return QByteArrayView(reinterpret_cast<const char*>(data(c)) + sizeof length, length);
  }
  if (c.type == SQL_TEXT) return QByteArrayView(reinterpret_cast<const char*>(data(c)), c.length);
  throw Error(QStringLiteral("Column %1 is not a text").arg(c.name));
}

QByteArray Statement::bytes(int index) const {
  return bytesView(index).toByteArray();
}

QString Statement::text(int index) const {
  const Column& c = column(index);
  if (c.type == SQL_VARYING || c.type == SQL_TEXT) return win1252::decode(bytes(index));
  if (isNull(index)) return {};
  if (c.type == SQL_TIMESTAMP || c.type == SQL_TYPE_DATE) {
    return timestamp(index).toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz"));
  }
  return QString::number(integer(index));
}

qint64 Statement::wallClockMSecs(int index) const {
  const Column& c = column(index);
  if (isNull(index)) return 0;
  if (c.type == SQL_TIMESTAMP) {
    ISC_TIMESTAMP ts;
    std::memcpy(&ts, data(c), sizeof ts);
    return wallClockMSecsOf(ts.timestamp_date, ts.timestamp_time);
  }
  if (c.type == SQL_TYPE_DATE) {
    ISC_DATE d;
    std::memcpy(&d, data(c), sizeof d);
    return wallClockMSecsOf(d, 0);
  }
  throw Error(QStringLiteral("Column %1 is not a timestamp").arg(c.name));
}

QDateTime Statement::timestamp(int index) const {
  if (isNull(index)) return {};
  return QDateTime::fromMSecsSinceEpoch(wallClockMSecs(index), Qt::UTC);
}

}  // namespace fb
