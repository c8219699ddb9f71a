// The row store across the pages it keeps its columns in: every kind of value read back as
// stored, texts that cross a page or are longer than one, and edits in place.
#include <gtest/gtest.h>

#include "dataset/RowStore.h"

namespace {

const std::vector<FieldDef> kFields = {
    {"N", FieldType::Integer, 0, false, {}},
    {"T", FieldType::DateTime, 0, false, {}},
    {"S", FieldType::String, 0, false, {}},
};

// Row i of a store of many: every seventh cell null, texts of 0 to 300 bytes, many repeated.
std::vector<FieldValue> manyRow(qint32 i) {
  const QDateTime start(QDate(2018, 1, 1), QTime(0, 0), Qt::UTC);
  return {
      i % 7 == 1 ? FieldValue{} : FieldValue(qint32(i * 37 - 1'000'000)),
      i % 7 == 2 ? FieldValue{} : FieldValue(start.addMSecs(qint64(i) * 86'400'123)),
      i % 7 == 3 ? FieldValue{} : FieldValue(QByteArray(i % 301, char('A' + i % 26))),
  };
}

TEST(RowStore, ManyRowsOfEveryKindReadBackAsStored) {
  constexpr qint32 kRows = 100'000;  // several pages of every column
  RowStore rows(kFields);
  for (qint32 i = 0; i < kRows; ++i) ASSERT_EQ(rows.append(manyRow(i)), RowId(i));
  ASSERT_EQ(rows.rowCount(), RowId(kRows));
  for (qint32 i = 0; i < kRows; ++i) {
    ASSERT_EQ(rows.row(i), manyRow(i)) << "row " << i;
    ASSERT_EQ(rows.isNull(i, 2), i % 7 == 3) << "row " << i;
  }
}

TEST(RowStore, TextsLongerThanAPageAndAroundThemReadBackWhole) {
  const QByteArray before(200'000, 'a');
  const QByteArray huge = [] {
    QByteArray bytes(700'000, '\0');
    for (qsizetype i = 0; i < bytes.size(); ++i) bytes[i] = char(i % 251);
    return bytes;
  }();
  const QByteArray after(100'000, 'z');
  RowStore rows(kFields);
  for (const QByteArray& text : {before, huge, after, QByteArray("curto")})
    rows.append({FieldValue{}, FieldValue{}, text});

  // Compared whole, but not printed whole when they differ.
  EXPECT_TRUE(rows.text(0, 2).toByteArray() == before);
  EXPECT_TRUE(rows.text(1, 2).toByteArray() == huge);
  EXPECT_TRUE(rows.text(2, 2).toByteArray() == after);
  EXPECT_EQ(rows.text(3, 2).toByteArray(), "curto");
}

TEST(RowStore, EditsKeepOtherRowsAndTellEmptyFromNull) {
  RowStore rows(kFields);
  rows.append({qint32(1), FieldValue{}, QByteArray("primeiro")});
  rows.append({qint32(2), FieldValue{}, QByteArray("segundo")});

  rows.set(0, 2, QByteArray("um"));                       // shorter: in its place
  rows.set(1, 2, QByteArray("um texto bem mais longo"));  // longer: elsewhere
  rows.set(1, 0, FieldValue{});
  EXPECT_EQ(rows.value(0, 2), FieldValue("um"));
  EXPECT_EQ(rows.value(1, 2), FieldValue("um texto bem mais longo"));
  EXPECT_TRUE(rows.isNull(1, 0));

  // The same short text in two rows, then one of them changed: the other keeps its own.
  rows.append({qint32(3), FieldValue{}, QByteArray("CANDIDATO")});
  rows.append({qint32(4), FieldValue{}, QByteArray("CANDIDATO")});
  rows.set(2, 2, QByteArray("PARTIDO"));
  EXPECT_EQ(rows.value(2, 2), FieldValue("PARTIDO"));
  EXPECT_EQ(rows.value(3, 2), FieldValue("CANDIDATO"));

  rows.set(0, 2, QByteArray());
  EXPECT_FALSE(rows.isNull(0, 2));
  EXPECT_EQ(rows.text(0, 2).size(), 0);
  rows.set(0, 2, QByteArray("de novo"));
  EXPECT_EQ(rows.value(0, 2), FieldValue("de novo"));
  EXPECT_EQ(rows.value(1, 2), FieldValue("um texto bem mais longo"));
}

}  // namespace
