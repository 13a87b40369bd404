#include "framework/data/ResultTable.h"

#include <string>

#include "framework/data/DatabaseError.h"
#include "tests/harness/Gtest.h"

namespace {

TResultTable TwoColumns() { return TResultTable({{u"a", u"INTEGER", false}, {u"b", u"TEXT", false}}); }

TEST(ResultTable, KeepsEveryKindOfValue) {
  TResultTable t = TwoColumns();
  const std::string withNul("x\0y", 3);
  t.AddInteger(-5);
  t.AddText(withNul.data(), withNul.size());
  t.EndRow();
  t.AddFloat(2.5);
  t.AddText("", 0);
  t.EndRow();
  t.AddNull();
  t.AddBlob("\x01\x02", 2);
  t.EndRow();
  ASSERT_EQ(t.RowCount(), 3);

  struct TExpected {
    int Row, Column;
    TValueKind Kind;
    int64_t Integer;
    double Float;
    std::string Bytes;
  };
  const TExpected cases[] = {
      {0, 0, TValueKind::Integer, -5, 0, ""}, {0, 1, TValueKind::Text, 0, 0, withNul},
      {1, 0, TValueKind::Float, 0, 2.5, ""},  {1, 1, TValueKind::Text, 0, 0, ""},
      {2, 0, TValueKind::Null, 0, 0, ""},     {2, 1, TValueKind::Blob, 0, 0, "\x01\x02"},
      {3, 0, TValueKind::Null, 0, 0, ""},     {0, 2, TValueKind::Null, 0, 0, ""},  // outside
      {-1, 0, TValueKind::Null, 0, 0, ""},
  };
  for (const TExpected& e : cases) {
    TCellValue v = t.Cell(e.Row, e.Column);
    SCOPED_TRACE(testing::Message() << e.Row << "," << e.Column);
    EXPECT_EQ(v.Kind, e.Kind);
    EXPECT_EQ(v.Integer, e.Integer);
    EXPECT_EQ(v.Float, e.Float);
    EXPECT_EQ(std::string(v.Bytes), e.Bytes);
  }
  EXPECT_EQ(t.FirstValueKind(0), TValueKind::Integer);
  EXPECT_EQ(t.FirstValueKind(1), TValueKind::Text);
}

TEST(ResultTable, FirstValueKindSkipsNulls) {
  TResultTable t = TwoColumns();
  for (int i = 0; i < 3; ++i) {
    t.AddNull();
    if (i == 2) t.AddFloat(1);
    else t.AddNull();
    t.EndRow();
  }
  EXPECT_EQ(t.FirstValueKind(0), TValueKind::Null);
  EXPECT_EQ(t.FirstValueKind(1), TValueKind::Float);
}

TEST(ResultTable, IncompleteRowIsRefused) {
  TResultTable t = TwoColumns();
  t.AddInteger(1);
  EXPECT_THROW(t.EndRow(), EDatabaseError);
  EXPECT_EQ(t.RowCount(), 0);
}

TEST(ResultTable, ManyRowsStayCompact) {
  TResultTable t = TwoColumns();
  const int rows = 100000;
  for (int i = 0; i < rows; ++i) {
    t.AddInteger(i);
    t.AddText("abcdefgh", 8);
    t.EndRow();
  }
  EXPECT_EQ(t.RowCount(), rows);
  EXPECT_EQ(t.Cell(rows - 1, 0).Integer, rows - 1);
  EXPECT_EQ(t.Cell(54321, 1).Bytes, "abcdefgh");
  // 9 bytes a cell plus 12 a text, with growth room: far below a string per cell.
  EXPECT_LT(t.BytesUsed(), static_cast<size_t>(rows) * 60);
}

}  // namespace
