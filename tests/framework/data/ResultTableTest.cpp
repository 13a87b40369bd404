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

TEST(ResultTable, ManyRowsStayCompactAndReadBackAcrossBlocks) {
  TResultTable t = TwoColumns();
  const int rows = 100000;
  // Texts of changing length, so that they straddle every chunk boundary.
  auto text = [](int i) { return std::string(static_cast<size_t>(i % 37), static_cast<char>('a' + i % 26)); };
  size_t written = 0;
  for (int i = 0; i < rows; ++i) {
    t.AddInteger(i);
    std::string s = text(i);
    written += 2 * 9 + 4 + s.size();
    t.AddText(s.data(), s.size());
    t.EndRow();
  }
  ASSERT_EQ(t.RowCount(), rows);
  int wrong = 0;
  for (int i = 0; i < rows; ++i)
    if (t.Cell(i, 0).Integer != i || t.Cell(i, 1).Bytes != text(i)) ++wrong;
  EXPECT_EQ(wrong, 0);
  // 9 bytes a cell, 4 and the bytes a text; blocks that double hold at most as much
  // room again as they hold data.
  EXPECT_GE(t.BytesUsed(), written);
  EXPECT_LE(t.BytesUsed(), 2 * written + 16384);
}

TEST(ResultTable, TextLongerThanAChunk) {
  TResultTable t({{u"m", u"MEMO", false}});
  const std::string shortText = "before";
  const std::string longText(5 << 20, 'x');
  t.AddText(shortText.data(), shortText.size());
  t.EndRow();
  t.AddText(longText.data(), longText.size());
  t.EndRow();
  t.AddText(shortText.data(), shortText.size());
  t.EndRow();
  EXPECT_EQ(t.Cell(0, 0).Bytes, shortText);
  EXPECT_EQ(t.Cell(1, 0).Bytes.size(), longText.size());
  EXPECT_EQ(t.Cell(1, 0).Bytes, longText);
  EXPECT_EQ(t.Cell(2, 0).Bytes, shortText);
}

}  // namespace
