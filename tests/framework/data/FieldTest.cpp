#include "framework/data/Field.h"

#include <cmath>
#include <string>
#include <vector>

#include "framework/core/Exception.h"
#include "framework/core/Property.h"
#include "framework/data/ADOQuery.h"
#include "framework/data/DatabaseError.h"
#include "tests/framework/data/SharedDatabase.h"
#include "tests/harness/Gtest.h"

namespace {

class FieldTest : public testing::Test {
 protected:
  void SetUp() override { owner_ = new TComponent(nullptr); }
  void TearDown() override { owner_->Free(); }
  TComponent* owner_ = nullptr;
};

// ---- text of every kind of value ----

struct TTextCase {
  const char16_t* Expression;
  const char16_t* Text;
  bool Null;
};

const TTextCase kTextCases[] = {
    {u"42", u"42", false},
    {u"-7", u"-7", false},
    {u"9223372036854775807", u"9223372036854775807", false},
    {u"1.5", u"1.5", false},
    {u"0.1", u"0.1", false},
    {u"3.0", u"3", false},
    {u"-2.25", u"-2.25", false},
    {u"1.0/3", u"0.333333333333333", false},
    {u"1e20", u"1E20", false},
    {u"1.5e-7", u"1.5E-7", false},
    {u"123456.789", u"123456.789", false},
    {u"NULL", u"", true},
    {u"''", u"", false},
    {u"'中文 text'", u"中文 text", false},
    {u"'𠀀'", u"𠀀", false},  // outside the basic plane: a surrogate pair
    {u"'a' || char(13, 10) || 'b'", u"a\r\nb", false},
    {u"'tab' || char(9) || 'end'", u"tab\tend", false},
    {u"x'414243'", u"ABC", false},
    {u"'<b>bold</b>'", u"<b>bold</b>", false},
};

void PrintTo(const TTextCase& c, std::ostream* os) { *os << Utf16ToUtf8(c.Expression); }

class FieldText : public FieldTest, public testing::WithParamInterface<TTextCase> {};

TEST_P(FieldText, ReadsAsText) {
  const TTextCase& c = GetParam();
  TADOQuery* q = NewQuery(owner_, u"q", u"select " + std::u16string(c.Expression) + u" as v");
  q->Open();
  TField* v = q->Fields(0);
  EXPECT_EQ(v->AsString(), std::u16string(c.Text));
  EXPECT_EQ(v->DisplayText(), std::u16string(c.Text));
  EXPECT_EQ(v->IsNull(), c.Null);
  q->Close();
  EXPECT_EQ(v->AsString(), u"");
  EXPECT_TRUE(v->IsNull());
}

INSTANTIATE_TEST_SUITE_P(Cases, FieldText, testing::ValuesIn(kTextCases));

TEST_F(FieldTest, MemoReadsWhole) {
  // Longer than any wide-string size, with line breaks inside.
  TADOQuery* q = NewQuery(owner_, u"q",
                          u"select replace(hex(zeroblob(3000)), '00', '释义' || char(10)) as m");
  q->Open();
  std::u16string text = q->Fields(0)->AsString();
  ASSERT_EQ(text.size(), 9000u);
  EXPECT_EQ(text.substr(0, 6), u"释义\n释义\n");
}

TEST_F(FieldTest, TableValuesOfEachKind) {
  TADOQuery* q = NewQuery(owner_, u"q", u"select * from kinds");
  q->Open();
  const char16_t* expected[] = {u"42",  u"1.5",     u"中文 text", u"line 1\r\nline 2",
                                u"ABC", u"untyped", u"",          u"9223372036854775807"};
  ASSERT_EQ(q->FieldCount(), 8);
  for (int i = 0; i < 8; ++i) EXPECT_EQ(q->Fields(i)->AsString(), expected[i]) << i;
}

// ---- numbers from values ----

struct TNumberCase {
  const char16_t* Expression;
  bool IntegerOk;
  int64_t Integer;
  bool FloatOk;
  double Float;
};

const TNumberCase kNumberCases[] = {
    {u"42", true, 42, true, 42},
    {u"NULL", true, 0, true, 0},
    {u"2.5", true, 2, true, 2.5},  // halves round to even
    {u"3.5", true, 4, true, 3.5},
    {u"-1.25", true, -1, true, -1.25},
    {u"' 17 '", true, 17, true, 17},
    {u"'$1F'", true, 31, false, 0},
    {u"'1.5'", false, 0, true, 1.5},
    {u"'abc'", false, 0, false, 0},
    {u"''", false, 0, false, 0},
    {u"x'01'", false, 0, false, 0},
};

void PrintTo(const TNumberCase& c, std::ostream* os) { *os << Utf16ToUtf8(c.Expression); }

class FieldNumbers : public FieldTest, public testing::WithParamInterface<TNumberCase> {};

TEST_P(FieldNumbers, ConvertOrRaise) {
  const TNumberCase& c = GetParam();
  TADOQuery* q = NewQuery(owner_, u"q", u"select " + std::u16string(c.Expression) + u" as v");
  q->Open();
  TField* v = q->Fields(0);
  if (c.IntegerOk) {
    EXPECT_EQ(v->AsInteger(), c.Integer);
  } else {
    EXPECT_THROW(v->AsInteger(), EConvertError);
  }
  if (c.FloatOk) {
    EXPECT_DOUBLE_EQ(v->AsFloat(), c.Float);
  } else {
    EXPECT_THROW(v->AsFloat(), EConvertError);
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, FieldNumbers, testing::ValuesIn(kNumberCases));

TEST(FloatToText, SpecialValues) {
  EXPECT_EQ(FloatToText(NAN), u"NAN");
  EXPECT_EQ(FloatToText(INFINITY), u"INF");
  EXPECT_EQ(FloatToText(-INFINITY), u"-INF");
  EXPECT_EQ(FloatToText(-0.0), u"0");
  EXPECT_EQ(FloatToText(1e15), u"1E15");
  EXPECT_EQ(FloatToText(123456789012345.0), u"123456789012345");
}

TEST_F(FieldTest, AsStringAtReadsAnyRecordWithoutMoving) {
  TADOQuery* q = NewQuery(owner_, u"q", u"select * from five_t order by a");
  q->Open();
  TField* b = q->FieldByName(u"b");
  EXPECT_EQ(b->AsStringAt(4), u"r4");
  EXPECT_EQ(b->AsStringAt(0), u"");
  EXPECT_EQ(b->AsStringAt(6), u"");
  EXPECT_EQ(q->RecNo(), 1);
}

// ---- persistent fields ----

// The word dictionary's field list, in its order; the table lists them otherwise.
struct TPersistentSpec {
  const char16_t* Name;
  TFieldType Type;
  int Size;
};
const TPersistentSpec kWordFields[] = {
    {u"ID", TFieldType::ftAutoInc, 0},       {u"word", TFieldType::ftWideString, 50},
    {u"szm", TFieldType::ftWideString, 50},  {u"content", TFieldType::ftMemo, 0},
    {u"ord", TFieldType::ftWideString, 50},  {u"spell", TFieldType::ftWideString, 50},
};

TADOQuery* WordQuery(TComponent* owner, const std::u16string& sql) {
  TADOQuery* q = NewQuery(owner, u"cd_seachq", sql);
  for (const TPersistentSpec& s : kWordFields) {
    TField* f = CreateField(s.Type, owner);  // made by the owner, as a data module does
    f->SetFieldName(s.Name);
    if (s.Size != 0) f->SetSize(s.Size);
    f->SetDataSet(q);
  }
  return q;
}

TEST_F(FieldTest, PersistentFieldsKeepTheirOrderAndIgnoreExtraColumns) {
  TADOQuery* q = WordQuery(owner_, u"select *  from kest_cd where word = '中国'");
  q->Open();
  ASSERT_EQ(q->FieldCount(), 6);
  EXPECT_FALSE(q->DefaultFields());
  const char16_t* values[] = {u"7", u"中国", u"zg", u"中华人民共和国的简称。", u"1", u"zhōng guó"};
  for (int i = 0; i < 6; ++i) {
    TField* f = q->Fields(i);
    EXPECT_EQ(f->FieldName(), kWordFields[i].Name);
    EXPECT_EQ(f->DataType(), kWordFields[i].Type);
    EXPECT_EQ(f->Size(), kWordFields[i].Size);
    EXPECT_EQ(f->AsString(), values[i]) << i;
    EXPECT_EQ(f->Index(), i);
    EXPECT_EQ(f->Owner(), owner_);
  }
  EXPECT_EQ(q->FindField(u"extra"), nullptr);
  // Bound by name: ID is the table's fourth column.
  EXPECT_EQ(q->Fields(0)->FieldNo(), 4);
  EXPECT_TRUE(q->Fields(0)->ReadOnly());
  EXPECT_TRUE(q->Fields(0)->Is<TIntegerField>());
}

TEST_F(FieldTest, NullMemoReadsEmpty) {
  TADOQuery* q = WordQuery(owner_, u"select *  from kest_cd where word = '花'");
  q->Open();
  EXPECT_EQ(q->FieldByName(u"content")->AsString(), u"");
  EXPECT_TRUE(q->FieldByName(u"content")->IsNull());
}

TEST_F(FieldTest, MissingPersistentColumnFailsTheOpenNamingQueryAndField) {
  TADOQuery* q = WordQuery(owner_, u"select *  from cd_without_ord");
  try {
    q->Open();
    FAIL() << "opened";
  } catch (const EDatabaseError& e) {
    EXPECT_EQ(e.Message(), u"cd_seachq: Field 'ord' not found");
  }
  EXPECT_FALSE(q->Active());
  EXPECT_TRUE(q->Eof());
  ASSERT_EQ(q->FieldCount(), 6);
  EXPECT_EQ(q->Fields(1)->AsString(), u"");
  EXPECT_EQ(q->Fields(1)->FieldNo(), 0);  // nothing half-bound
}

TEST_F(FieldTest, PersistentFieldNamesBindWithoutRegardToCase) {
  TADOQuery* q = NewQuery(owner_, u"q", u"select * from five_t order by a");
  auto* f = new TWideStringField(owner_);
  f->SetFieldName(u"B");
  f->SetDataSet(q);
  q->Open();
  EXPECT_EQ(q->FieldCount(), 1);
  EXPECT_EQ(q->FieldByName(u"b")->AsString(), u"r1");
}

TEST_F(FieldTest, FieldListCannotChangeWhileOpen) {
  TADOQuery* q = WordQuery(owner_, u"select *  from kest_cd");
  q->Open();
  auto* late = new TWideStringField(owner_);
  late->SetFieldName(u"extra");
  try {
    late->SetDataSet(q);
    FAIL() << "added";
  } catch (const EDatabaseError& e) {
    EXPECT_EQ(e.Message(), u"cd_seachq: Cannot perform this operation on an open dataset");
  }
  EXPECT_EQ(late->DataSet(), nullptr);
  EXPECT_THROW(q->Fields(1)->SetFieldName(u"other"), EDatabaseError);
  EXPECT_THROW(q->Fields(1)->SetSize(10), EDatabaseError);
  EXPECT_EQ(q->FieldCount(), 6);
}

TEST_F(FieldTest, DuplicatePersistentNamesAreRefused) {
  TADOQuery* q = WordQuery(owner_, u"select *  from kest_cd");
  auto* again = new TWideStringField(owner_);
  again->SetFieldName(u"WORD");
  try {
    again->SetDataSet(q);
    FAIL() << "added";
  } catch (const EDatabaseError& e) {
    EXPECT_EQ(e.Message(), u"cd_seachq: Duplicate field name 'WORD'");
  }
  EXPECT_THROW(q->Fields(2)->SetFieldName(u"Word"), EDatabaseError);
}

TEST_F(FieldTest, FieldsMadeFromAResultStayWithTheirDataSet) {
  TADOQuery* q = NewQuery(owner_, u"q", u"select * from five_t");
  q->Open();
  TADOQuery* other = NewQuery(owner_, u"other", u"select * from five_t");
  EXPECT_THROW(q->Fields(0)->SetDataSet(other), EDatabaseError);
  EXPECT_THROW(q->Fields(0)->SetFieldName(u"x"), EDatabaseError);
  EXPECT_EQ(q->Fields(0)->DataSet(), q);
}

TEST_F(FieldTest, FieldFreedFirstLeavesTheList) {
  TADOQuery* q = WordQuery(owner_, u"select *  from kest_cd");
  q->Open();
  q->Fields(4)->Free();
  ASSERT_EQ(q->FieldCount(), 5);
  EXPECT_EQ(q->Fields(4)->FieldName(), u"spell");
  EXPECT_EQ(q->FindField(u"ord"), nullptr);
}

TEST_F(FieldTest, QueryFreedFirstLeavesTheFieldsWithoutDataSet) {
  TADOQuery* q = WordQuery(owner_, u"select *  from kest_cd");
  q->Open();
  TField* word = q->Fields(1);
  q->Free();
  EXPECT_EQ(word->DataSet(), nullptr);
  EXPECT_EQ(word->Index(), -1);
  EXPECT_EQ(word->AsString(), u"");
}

TEST_F(FieldTest, PublishedProperties) {
  TADOQuery* q = NewQuery(owner_, u"q", u"select * from five_t");
  auto* f = new TWideStringField(owner_);
  EXPECT_TRUE(SetStrProp(f, u"FieldName", u"b"));
  EXPECT_TRUE(SetObjectProp(f, u"DataSet", q));
  EXPECT_TRUE(SetOrdProp(f, u"Size", 80));
  EXPECT_EQ(f->DataSet(), q);
  EXPECT_EQ(GetStrProp(f, u"FieldName"), u"b");
  EXPECT_EQ(GetOrdProp(f, u"Size"), 80);
  EXPECT_EQ(GetEnumProp(f, u"DataType"), u"ftWideString");
  EXPECT_EQ(GetStrProp(f, u"DisplayLabel"), u"b");
  EXPECT_EQ(GetObjectProp(f, u"DataSet"), q);
  EXPECT_EQ(f->Size(), 80);
}

TEST(FieldDefaults, SizesAndClasses) {
  struct TDefaultCase {
    TFieldType Type;
    const char16_t* ClassName;
    int Size;
  };
  const TDefaultCase cases[] = {
      {TFieldType::ftWideString, u"TWideStringField", 20}, {TFieldType::ftInteger, u"TIntegerField", 0},
      {TFieldType::ftAutoInc, u"TAutoIncField", 0},        {TFieldType::ftFloat, u"TFloatField", 0},
      {TFieldType::ftMemo, u"TMemoField", 0},              {TFieldType::ftBlob, u"TBlobField", 0},
  };
  for (const TDefaultCase& c : cases) {
    TField* f = CreateField(c.Type, nullptr);
    EXPECT_EQ(f->ClassName(), c.ClassName);
    EXPECT_EQ(f->DataType(), c.Type);
    EXPECT_EQ(f->Size(), c.Size);
    EXPECT_EQ(f->AsString(), u"");
    f->Free();
  }
}

}  // namespace
