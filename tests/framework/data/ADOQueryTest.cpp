#include "framework/data/ADOQuery.h"

#include <string>
#include <vector>

#include "framework/core/Property.h"
#include "framework/data/DatabaseError.h"
#include "tests/framework/data/SharedDatabase.h"
#include "tests/harness/Gtest.h"

namespace {

class ADOQueryTest : public testing::Test {
 protected:
  void SetUp() override { owner_ = new TComponent(nullptr); }
  void TearDown() override { owner_->Free(); }
  TADOQuery* Query(const std::u16string& sql) { return NewQuery(owner_, u"q", sql); }
  TComponent* owner_ = nullptr;
};

// ---- moving through 0, 1 and n records ----

enum class TOp { Open, First, Last, Next, Prior, MoveBy, SetRecNo, Close };

struct TStep {
  TOp Op;
  int Arg;
  int RecNo;  // expected after the step
  bool Bof;
  bool Eof;
  int Moved;  // MoveBy's answer; ignored for other steps
};

struct TNavigationCase {
  const char* Name;
  const char16_t* Sql;
  int RecordCount;
  std::vector<TStep> Steps;
};

const TNavigationCase kNavigationCases[] = {
    {"Empty", u"select * from empty_t", 0,
     {{TOp::Open, 0, 0, true, true, 0},
      {TOp::Next, 0, 0, true, true, 0},
      {TOp::Prior, 0, 0, true, true, 0},
      {TOp::Last, 0, 0, true, true, 0},
      {TOp::First, 0, 0, true, true, 0},
      {TOp::MoveBy, 3, 0, true, true, 0},
      {TOp::Close, 0, 0, true, true, 0}}},
    {"One", u"select * from one_t", 1,
     {{TOp::Open, 0, 1, true, false, 0},
      {TOp::Next, 0, 1, false, true, 0},
      {TOp::Prior, 0, 1, true, false, 0},
      {TOp::Last, 0, 1, false, true, 0},
      {TOp::First, 0, 1, true, false, 0},
      {TOp::MoveBy, -1, 1, true, false, 0},
      {TOp::MoveBy, 1, 1, false, true, 0}}},
    {"Five", u"select * from five_t order by a", 5,
     {{TOp::Open, 0, 1, true, false, 0},
      {TOp::Next, 0, 2, false, false, 0},
      {TOp::MoveBy, 2, 4, false, false, 2},
      {TOp::Next, 0, 5, false, false, 0},  // on the last record, not yet past it
      {TOp::Next, 0, 5, false, true, 0},
      {TOp::Prior, 0, 4, false, false, 0},
      {TOp::MoveBy, 10, 5, false, true, 1},
      {TOp::MoveBy, -2, 3, false, false, -2},
      {TOp::MoveBy, -10, 1, true, false, -2},
      {TOp::MoveBy, 0, 1, true, false, 0},
      {TOp::Last, 0, 5, false, true, 0},
      {TOp::SetRecNo, 3, 3, false, false, 0},
      {TOp::First, 0, 1, true, false, 0},
      {TOp::Close, 0, 0, true, false, 0}}},  // Bof and Eof stay as they were
};

void PrintTo(const TNavigationCase& c, std::ostream* os) { *os << c.Name; }

class Navigation : public ADOQueryTest, public testing::WithParamInterface<TNavigationCase> {};

TEST_P(Navigation, MovesLikeAStaticCursor) {
  const TNavigationCase& c = GetParam();
  TADOQuery* q = Query(c.Sql);
  for (size_t i = 0; i < c.Steps.size(); ++i) {
    const TStep& s = c.Steps[i];
    int moved = 0;
    switch (s.Op) {
      case TOp::Open: q->Open(); break;
      case TOp::First: q->First(); break;
      case TOp::Last: q->Last(); break;
      case TOp::Next: q->Next(); break;
      case TOp::Prior: q->Prior(); break;
      case TOp::MoveBy: moved = q->MoveBy(s.Arg); break;
      case TOp::SetRecNo: q->SetRecNo(s.Arg); break;
      case TOp::Close: q->Close(); break;
    }
    SCOPED_TRACE(testing::Message() << c.Name << " step " << i);
    EXPECT_EQ(q->RecNo(), s.RecNo);
    EXPECT_EQ(q->Bof(), s.Bof);
    EXPECT_EQ(q->Eof(), s.Eof);
    if (s.Op == TOp::MoveBy) {
      EXPECT_EQ(moved, s.Moved);
    }
    if (s.Op != TOp::Close) {
      EXPECT_EQ(q->RecordCount(), c.RecordCount);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, Navigation, testing::ValuesIn(kNavigationCases),
                         [](const testing::TestParamInfo<TNavigationCase>& i) { return i.param.Name; });

TEST_F(ADOQueryTest, WalkingToEofVisitsEveryRecordOnce) {
  TADOQuery* q = Query(u"select * from five_t order by a desc");
  q->Open();
  std::u16string seen;
  while (!q->Eof()) {
    seen += q->Fields(1)->AsString() + u" ";
    q->Next();
  }
  EXPECT_EQ(seen, u"r5 r4 r3 r2 r1 ");
}

TEST_F(ADOQueryTest, MovingAClosedQueryRaises) {
  TADOQuery* q = Query(u"select * from five_t");
  EXPECT_THROW(q->Next(), EDatabaseError);
  EXPECT_THROW(q->First(), EDatabaseError);
  q->Open();
  try {
    q->SetRecNo(6);
    FAIL() << "moved outside the result";
  } catch (const EDatabaseError& e) {
    EXPECT_EQ(e.Message(), u"q: Record number 6 is out of range (1 to 5)");
  }
  EXPECT_EQ(q->RecNo(), 1);
}

// ---- failures of open ----

struct TOpenFailure {
  const char* Name;
  const char16_t* Sql;
  const char16_t* Message;
};

const TOpenFailure kOpenFailures[] = {
    {"MissingTable", u"select *  from kest_xx",
     u"Cannot find the input table or query 'kest_xx'. Make sure it exists and that its name is "
     u"spelled correctly."},
    {"MissingColumn", u"select nope from five_t", u"no such column: nope"},
    {"Syntax", u"select * frm five_t", u"near \"frm\": syntax error"},
    {"UnclosedQuote", u"select * from kest_en where en = 'it's'", u"near \"s\": syntax error"},
    {"TwoStatements", u"select * from one_t; select * from five_t",
     u"Characters found after end of SQL statement."},
    {"Empty", u"", u"Command text was not set for the command object."},
    {"OnlyBlanks", u"   ;  ", u"Command text was not set for the command object."},
    {"Writes", u"delete from five_t", u"Cannot update. Database or object is read-only."},
    {"NoResultSet", u"begin", u"CommandText does not return a result set."},
};

void PrintTo(const TOpenFailure& c, std::ostream* os) { *os << c.Name; }

class OpenFailure : public ADOQueryTest, public testing::WithParamInterface<TOpenFailure> {};

TEST_P(OpenFailure, RaisesTheProviderMessageAndStaysClosed) {
  const TOpenFailure& c = GetParam();
  TADOQuery* q = Query(u"select * from five_t");
  q->Open();
  q->Next();
  q->Close();
  ASSERT_FALSE(q->Eof());
  q->SQL()->Clear();
  q->SQL()->Add(c.Sql);
  try {
    q->Open();
    FAIL() << "opened";
  } catch (const EADOError& e) {
    EXPECT_EQ(e.Message(), std::u16string(c.Message));
  }
  EXPECT_FALSE(q->Active());
  EXPECT_TRUE(q->Eof());
  EXPECT_TRUE(q->Bof());
  EXPECT_EQ(q->RecordCount(), 0);
  // The fields of the earlier result remain, and read empty.
  ASSERT_EQ(q->FieldCount(), 2);
  EXPECT_EQ(q->Fields(1)->AsString(), u"");
  // Nothing was written: the table still has its rows.
  q->SQL()->Clear();
  q->SQL()->Add(u"select * from five_t");
  q->Open();
  EXPECT_EQ(q->RecordCount(), 5);
}

INSTANTIATE_TEST_SUITE_P(Cases, OpenFailure, testing::ValuesIn(kOpenFailures),
                         [](const testing::TestParamInfo<TOpenFailure>& i) { return i.param.Name; });

TEST_F(ADOQueryTest, OpenWithoutConnectionNamesTheQuery) {
  auto* q = new TADOQuery(owner_);
  q->SetName(u"sysQ");
  q->SQL()->Add(u"select *  from kest_sys");
  try {
    q->Open();
    FAIL() << "opened";
  } catch (const EDatabaseError& e) {
    EXPECT_EQ(e.Message(), u"sysQ: Missing Connection or ConnectionString");
  }
  EXPECT_TRUE(q->Eof());
}

// ---- the SQL the dictionary runs ----

struct TDialectCase {
  const char16_t* Sql;
  int Count;
  const char16_t* FirstOfColumn1;  // "" to skip
};

const TDialectCase kDialectCases[] = {
    // "=" on a NOCASE column ignores ASCII case.
    {u"select *  from kest_en where en = 'china'", 2, u"china"},
    {u"select *  from kest_en where en = 'CHINA'", 2, u"china"},
    {u"select *  from kest_en where en like 'chin%'", 4, u"china"},
    {u"select *  from kest_en where en like 'CHIN_'", 3, u"china"},
    {u"select *  from kest_en where en like '%chin%'", 5, u"china"},
    {u"select *  from kest_en where zh like '%瓷器%'", 2, u"china"},
    {u"select *  from kest_en where en = 'o''clock'", 1, u"o'clock"},
    {u"select *  from kest_en where en like '100%'", 1, u"100%"},
    {u"select *  from kest_en where en like 'zzz%'", 0, u""},
    {u"select *  from kest_hz where strokes = 4", 1, u"中"},
    {u"select *  from kest_hz where strokes = 4 and bhm like '2512'", 1, u"中"},
    {u"select *  from kest_hz where bhm like '%12%' order by id", 3, u"中"},
    {u"select *  from kest_hz where pycode = 'ZHONG'", 1, u"中"},
    {u"select *  from kest_hz where name = '国'", 1, u"国"},
    // A column without NOCASE compares "=" exactly; "like" still ignores ASCII case.
    {u"select *  from five_t where b = 'R1'", 0, u""},
    {u"select *  from five_t where b like 'R1'", 1, u"r1"},
};

void PrintTo(const TDialectCase& c, std::ostream* os) { *os << Utf16ToUtf8(c.Sql); }

class Dialect : public ADOQueryTest, public testing::WithParamInterface<TDialectCase> {};

TEST_P(Dialect, CountsAndFirstRecord) {
  const TDialectCase& c = GetParam();
  TADOQuery* q = Query(c.Sql);
  q->Open();
  EXPECT_EQ(q->RecordCount(), c.Count);
  if (c.Count > 0) {
    EXPECT_EQ(q->Fields(1)->AsString(), std::u16string(c.FirstOfColumn1));
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, Dialect, testing::ValuesIn(kDialectCases));

// ---- fields made from the result ----

struct TDefaultFieldCase {
  const char16_t* Name;
  const TClassInfo& Class;
  TFieldType Type;
  int Size;
};

TEST_F(ADOQueryTest, DefaultFieldsFollowTheColumnsInOrderWithTypesFromTheDeclarations) {
  TADOQuery* q = Query(u"select *, count(*) as c, 2.5 as f, 'x' as s, NULL as z from kest_cd");
  q->Open();
  const TDefaultFieldCase expected[] = {
      {u"spell", TWideStringField::StaticClass(), TFieldType::ftWideString, 50},
      {u"ord", TWideStringField::StaticClass(), TFieldType::ftWideString, 50},
      {u"content", TMemoField::StaticClass(), TFieldType::ftMemo, 0},
      {u"ID", TAutoIncField::StaticClass(), TFieldType::ftAutoInc, 0},
      {u"word", TWideStringField::StaticClass(), TFieldType::ftWideString, 50},
      {u"szm", TWideStringField::StaticClass(), TFieldType::ftWideString, 50},
      {u"extra", TWideStringField::StaticClass(), TFieldType::ftWideString, 255},
      {u"c", TIntegerField::StaticClass(), TFieldType::ftInteger, 0},
      {u"f", TFloatField::StaticClass(), TFieldType::ftFloat, 0},
      {u"s", TWideStringField::StaticClass(), TFieldType::ftWideString, 255},
      {u"z", TWideStringField::StaticClass(), TFieldType::ftWideString, 255},
  };
  ASSERT_EQ(q->FieldCount(), static_cast<int>(std::size(expected)));
  for (int i = 0; i < q->FieldCount(); ++i) {
    const TDefaultFieldCase& e = expected[i];
    TField* f = q->Fields(i);
    SCOPED_TRACE(Utf16ToUtf8(e.Name));
    EXPECT_EQ(f->FieldName(), e.Name);
    EXPECT_EQ(&f->ClassType(), &e.Class);
    EXPECT_EQ(f->DataType(), e.Type);
    EXPECT_EQ(f->Size(), e.Size);
    EXPECT_EQ(f->Index(), i);
    EXPECT_EQ(f->FieldNo(), i + 1);
    EXPECT_EQ(f->DataSet(), q);
  }
  EXPECT_TRUE(q->Fields(3)->ReadOnly());
  EXPECT_TRUE(q->DefaultFields());
}

TEST_F(ADOQueryTest, DeclaredTypesOfOtherTablesMapToFieldClasses) {
  TADOQuery* q = Query(u"select * from kinds");
  q->Open();
  const TClassInfo* expected[] = {&TIntegerField::StaticClass(),    &TFloatField::StaticClass(),
                                  &TWideStringField::StaticClass(), &TMemoField::StaticClass(),
                                  &TBlobField::StaticClass(),       &TWideStringField::StaticClass(),
                                  &TIntegerField::StaticClass(),    &TIntegerField::StaticClass()};
  ASSERT_EQ(q->FieldCount(), 8);
  for (int i = 0; i < 8; ++i) EXPECT_EQ(&q->Fields(i)->ClassType(), expected[i]) << i;
  // "INTEGER PRIMARY KEY" numbers rows; a plain INTEGER column does not.
  EXPECT_FALSE(q->Fields(0)->Is<TAutoIncField>());
}

TEST_F(ADOQueryTest, DuplicateColumnNamesGetNumberedFields) {
  TADOQuery* q = Query(u"select a, b, a, a from five_t");
  q->Open();
  ASSERT_EQ(q->FieldCount(), 4);
  EXPECT_EQ(q->Fields(2)->FieldName(), u"a_1");
  EXPECT_EQ(q->Fields(3)->FieldName(), u"a_2");
  EXPECT_EQ(q->FieldByName(u"a_2")->AsString(), q->FieldByName(u"a")->AsString());
}

TEST_F(ADOQueryTest, FieldsByNameIgnoreAsciiCaseAndMissingOnesAreReported) {
  TADOQuery* q = Query(u"select *  from kest_cd order by ID");
  q->Open();
  EXPECT_EQ(q->FieldByName(u"WORD")->AsString(), u"中国");
  EXPECT_EQ(q->FindField(u"Id"), q->Fields(3));
  EXPECT_EQ(q->FindField(u"nope"), nullptr);
  try {
    q->FieldByName(u"nope");
    FAIL() << "found";
  } catch (const EDatabaseError& e) {
    EXPECT_EQ(e.Message(), u"q: Field 'nope' not found");
  }
  try {
    q->Fields(7);
    FAIL() << "found";
  } catch (const EDatabaseError& e) {
    EXPECT_EQ(e.Message(), u"q: Field index 7 is out of range (7 fields)");
  }
  EXPECT_THROW(q->Fields(-1), EDatabaseError);
}

TEST_F(ADOQueryTest, NeverOpenedQueryHasNoFieldsAndStandsAtEof) {
  TADOQuery* q = Query(u"select *  from kest_sys");
  EXPECT_TRUE(q->Eof());
  EXPECT_TRUE(q->Bof());
  EXPECT_EQ(q->FieldCount(), 0);
  EXPECT_EQ(q->RecordCount(), 0);
  EXPECT_EQ(q->RecNo(), 0);
  EXPECT_THROW(q->Fields(1), EDatabaseError);
}

// ---- a closed query ----

TEST_F(ADOQueryTest, ClosingKeepsEofAndTheFieldsReadEmpty) {
  TADOQuery* q = Query(u"select *  from kest_cd order by ID");
  q->Open();
  TField* word = q->FieldByName(u"word");
  ASSERT_EQ(word->AsString(), u"中国");
  q->Close();
  EXPECT_FALSE(q->Eof());
  EXPECT_EQ(q->FieldCount(), 7);
  for (int i = 0; i < q->FieldCount(); ++i) {
    EXPECT_EQ(q->Fields(i)->AsString(), u"") << i;
    EXPECT_TRUE(q->Fields(i)->IsNull()) << i;
  }
  EXPECT_EQ(word->AsInteger(), 0);
  // The same columns again: the same field objects.
  q->Open();
  EXPECT_EQ(q->FieldByName(u"word"), word);
  EXPECT_EQ(word->AsString(), u"中国");
  q->Last();
  q->Next();
  ASSERT_TRUE(q->Eof());
  q->Close();
  EXPECT_TRUE(q->Eof());
}

TEST_F(ADOQueryTest, OtherColumnsMakeNewFields) {
  TADOQuery* q = Query(u"select *  from kest_cd");
  q->Open();
  q->Close();
  q->SQL()->Clear();
  q->SQL()->Add(u"select * from five_t");
  q->Open();
  ASSERT_EQ(q->FieldCount(), 2);
  EXPECT_EQ(q->Fields(0)->FieldName(), u"a");
}

TEST_F(ADOQueryTest, ChangingTheSqlClosesAnOpenQuery) {
  TADOQuery* q = Query(u"select * from five_t");
  q->Open();
  q->SQL()->Clear();
  EXPECT_FALSE(q->Active());
  q->SQL()->Add(u"select * from one_t");
  q->Open();
  EXPECT_EQ(q->RecordCount(), 1);
}

TEST_F(ADOQueryTest, RequeryRunsTheSqlAgainFromTheFirstRecord) {
  TADOQuery* q = Query(u"select * from five_t");
  q->Open();
  q->Last();
  q->Requery();
  EXPECT_TRUE(q->Active());
  EXPECT_EQ(q->RecNo(), 1);
  EXPECT_TRUE(q->Bof());
  EXPECT_FALSE(q->Eof());
}

TEST_F(ADOQueryTest, PublishedProperties) {
  TADOQuery* q = Query(u"select * from five_t");
  EXPECT_EQ(GetObjectProp(q, u"Connection"), SharedDatabase().Connection);
  auto* sql = As<TStrings>(GetObjectProp(q, u"SQL"));
  ASSERT_NE(sql, nullptr);
  EXPECT_EQ(sql->Text(), u"select * from five_t\r\n");
  EXPECT_TRUE(SetEnumProp(q, u"Active", u"True"));
  EXPECT_TRUE(q->Active());
  EXPECT_EQ(GetOrdProp(q, u"RecordCount"), 5);
  EXPECT_EQ(GetEnumProp(q, u"State"), u"dsBrowse");
  TStringList lines;
  lines.Add(u"select * from one_t");
  EXPECT_TRUE(SetObjectProp(q, u"SQL", &lines));
  EXPECT_FALSE(q->Active());
  EXPECT_EQ(q->SQL()->Text(), u"select * from one_t\r\n");
  EXPECT_TRUE(SetObjectProp(q, u"Connection", nullptr));
  EXPECT_EQ(q->Connection(), nullptr);
}

TEST_F(ADOQueryTest, ConnectionCannotChangeUnderAnOpenQuery) {
  TADOQuery* q = Query(u"select * from five_t");
  q->Open();
  EXPECT_THROW(q->SetConnection(nullptr), EDatabaseError);
  EXPECT_EQ(q->Connection(), SharedDatabase().Connection);
}

}  // namespace
