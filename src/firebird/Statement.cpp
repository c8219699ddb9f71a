#include "firebird/Statement.h"

#include <QtEndian>
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
constexpr unsigned short kSqldaVersion = SQLDA_VERSION1;
// What a fetch, or a singleton select, answers when there is no row.
constexpr ISC_STATUS kNoMoreRows = 100;
// Room for the columns of every select of the program, so that preparing describes them too.
constexpr int kFirstOutputRoom = 32;

unsigned aligned(unsigned offset) {
  return (offset + 7u) & ~7u;
}

qint64 littleEndianInteger(const char* bytes, int length) {
  qint64 value = 0;
  for (int i = length - 1; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(bytes[i]);
  return value;
}

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
    : attachment_(attachment), output_(kFirstOutputRoom) {
  const ClientFunctions& api = attachment.client().api();
  Status status(attachment.client(), &attachment);
  api.allocateStatement(status, attachment.handle(), &handle_);
  status.check();
  try {
    const QByteArray text = win1252::encode(sql);
    api.prepare(status, transaction.handle(), &handle_, 0, text.constData(),
                static_cast<unsigned short>(attachment.dialect()), output_.get());
    status.check();
    describeOutput();

    api.describeBind(status, &handle_, kSqldaVersion, described_.get());
    status.check();
    if (described_.count() > described_.room()) {
      described_.resize(described_.count());
      api.describeBind(status, &handle_, kSqldaVersion, described_.get());
      status.check();
    }
    const int inputs = described_.count();
    params_.resize(inputs);
    // Each place is typed for the kind of value its column takes, so that the input is laid out
    // once here and not again for every execution.
    std::vector<Slot> places;
    for (int i = 0; i < inputs; ++i) {
      const XSQLVAR& var = described_[i];
      const unsigned type = var.sqltype & ~1u;
      Slot slot{SlotKind::Described, 0};
      if (type == SQL_SHORT || type == SQL_LONG || type == SQL_INT64) {
        if (var.sqlscale == 0) slot.kind = SlotKind::Integer;
      } else if (type == SQL_TEXT || type == SQL_VARYING) {
        slot = {SlotKind::Text, std::clamp<unsigned>(var.sqllen, 1u, kMaxText)};
      } else if (type == SQL_TIMESTAMP || type == SQL_TYPE_DATE) {
        slot.kind = SlotKind::Timestamp;
      }
      places.push_back(slot);
    }
    buildInput(std::move(places));
  } catch (...) {
    freeHandle();
    throw;
  }
}

void Statement::describeOutput() {
  if (output_.count() > output_.room()) {
    output_.resize(output_.count());
    Status status(attachment_.client(), &attachment_);
    attachment_.client().api().describe(status, &handle_, kSqldaVersion, output_.get());
    status.check();
  }
  // Every value lies at an aligned place of one buffer, its null indicator after all values.
  const int count = output_.count();
  unsigned size = 0;
  for (int i = 0; i < count; ++i) {
    XSQLVAR& var = output_[i];
    const unsigned type = var.sqltype & ~1u;
    const unsigned bytes = var.sqllen + (type == SQL_VARYING ? sizeof(ISC_USHORT) : 0);
    var.sqltype |= 1;  // so that every value comes with its null indicator
    columns_.push_back({win1252::decode(QByteArray(var.aliasname, var.aliasname_length)), type,
                        aligned(size), 0, static_cast<unsigned>(var.sqllen), var.sqlscale});
    size = aligned(size) + bytes;
  }
  for (Column& c : columns_) {
    c.nullOffset = aligned(size);
    size = c.nullOffset + sizeof(short);
  }
  outBuffer_.assign(size, 0);
  for (int i = 0; i < count; ++i) {
    output_[i].sqldata = reinterpret_cast<ISC_SCHAR*>(outBuffer_.data() + columns_[i].offset);
    output_[i].sqlind = reinterpret_cast<ISC_SHORT*>(outBuffer_.data() + columns_[i].nullOffset);
  }
}

Statement::~Statement() {
  try {
    close();
  } catch (const Error&) {
    // close() forgets the cursor even when the server cannot be told.
  }
  freeHandle();
}

void Statement::freeHandle() {
  if (handle_ == 0) return;
  Status status(attachment_.client(), &attachment_);
  attachment_.client().api().freeStatement(status, &handle_, DSQL_drop);
  // A statement of a lost attachment goes with the attachment.
  handle_ = 0;
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
  const int count = static_cast<int>(places.size());
  unsigned size = 0;
  for (int i = 0; i < count; ++i) {
    unsigned bytes = 0;
    switch (places[i].kind) {
      case SlotKind::Integer:
        bytes = sizeof(ISC_INT64);
        break;
      case SlotKind::Text:
        bytes = sizeof(ISC_USHORT) + places[i].capacity;
        break;
      case SlotKind::Timestamp:
        bytes = sizeof(ISC_TIMESTAMP);
        break;
      case SlotKind::Described:
        bytes = described_[i].sqllen +
                ((described_[i].sqltype & ~1) == SQL_VARYING ? sizeof(ISC_USHORT) : 0);
        break;
    }
    places[i].offset = aligned(size);
    size = places[i].offset + bytes;
  }
  for (Slot& place : places) {
    place.nullOffset = aligned(size);
    size = place.nullOffset + sizeof(short);
  }
  inBuffer_.assign(size, 0);

  input_.resize(count);
  for (int i = 0; i < count; ++i) {
    XSQLVAR& var = input_[i];
    var.sqlscale = 0;
    var.sqlsubtype = 0;
    switch (places[i].kind) {
      case SlotKind::Integer:
        var.sqltype = SQL_INT64 + 1;
        var.sqllen = sizeof(ISC_INT64);
        break;
      case SlotKind::Text:
        var.sqltype = SQL_VARYING + 1;
        var.sqllen = static_cast<ISC_SHORT>(places[i].capacity);
        var.sqlsubtype = kWin1252CharSet;
        break;
      case SlotKind::Timestamp:
        var.sqltype = SQL_TIMESTAMP + 1;
        var.sqllen = sizeof(ISC_TIMESTAMP);
        break;
      case SlotKind::Described:
        var.sqltype = described_[i].sqltype | 1;
        var.sqllen = described_[i].sqllen;
        var.sqlscale = described_[i].sqlscale;
        var.sqlsubtype = described_[i].sqlsubtype;
        break;
    }
    var.sqldata = reinterpret_cast<ISC_SCHAR*>(inBuffer_.data() + places[i].offset);
    var.sqlind = reinterpret_cast<ISC_SHORT*>(inBuffer_.data() + places[i].nullOffset);
  }
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
  // No row can come back as a failure status, which a new line of an import meets every time.
  return hasRow_ = run(transaction, isc_stream_eof);
}

bool Statement::run(Transaction& transaction, ISC_STATUS answerCode) {
  close();
  bindInput();
  Status status(attachment_.client(), &attachment_);
  status.expect(answerCode);
  const ISC_STATUS result =
      attachment_.client().api().execute2(status, transaction.handle(), &handle_, kSqldaVersion,
                                          inputArea(), columns_.empty() ? nullptr : output_.get());
  // A singleton select without a row answers 100 or, through some clients, the end of stream.
  return status.check() && result != kNoMoreRows;
}

unsigned Statement::affectedRows() {
  const char items[] = {isc_info_sql_records};
  char answer[64];
  Status status(attachment_.client(), &attachment_);
  attachment_.client().api().sqlInfo(status, &handle_, sizeof items, items, sizeof answer, answer);
  status.check();
  // isc_info_sql_records, its length, then counts of each kind as item, length, value.
  unsigned affected = 0;
  if (answer[0] != isc_info_sql_records) return affected;
  const char* p = answer + 3;
  const char* end = answer + sizeof answer;
  while (p + 3 <= end && *p != isc_info_end) {
    const char item = p[0];
    const int length = qFromLittleEndian<quint16>(p + 1);
    if (p + 3 + length > end) break;
    const qint64 count = littleEndianInteger(p + 3, length);
    if (item == isc_info_req_insert_count || item == isc_info_req_update_count ||
        item == isc_info_req_delete_count) {
      affected += static_cast<unsigned>(count);
    }
    p += 3 + length;
  }
  return affected;
}

void Statement::open(Transaction& transaction) {
  close();
  bindInput();
  Status status(attachment_.client(), &attachment_);
  attachment_.client().api().execute(status, transaction.handle(), &handle_, kSqldaVersion,
                                     inputArea());
  status.check();
  cursorOpen_ = true;
  hasRow_ = false;
}

bool Statement::fetch() {
  if (!cursorOpen_) throw Error(QStringLiteral("Cursor is not open"));
  Status status(attachment_.client(), &attachment_);
  const ISC_STATUS result =
      attachment_.client().api().fetch(status, &handle_, kSqldaVersion, output_.get());
  status.check();
  hasRow_ = result != kNoMoreRows;
  return hasRow_;
}

void Statement::close() {
  hasRow_ = false;
  if (!cursorOpen_) return;
  cursorOpen_ = false;
  Status status(attachment_.client(), &attachment_);
  attachment_.client().api().freeStatement(status, &handle_, DSQL_close);
  // The cursor of a transaction that has ended is gone already; nothing is lost by not telling
  // the server again.
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
