#include "framework/data/ConnectionString.h"

#include <string>
#include <vector>

#include "framework/data/DatabaseError.h"
#include "tests/harness/Db/FixtureDatabase.h"
#include "tests/harness/Gtest.h"

namespace {

struct TParseCase {
  const char16_t* Text;
  const char16_t* Key;  // looked up as written here
  const char16_t* Expected;
  bool Present;
};

const TParseCase kParseCases[] = {
    {u"Provider=Microsoft.Jet.OLEDB.4.0", u"provider", u"Microsoft.Jet.OLEDB.4.0", true},
    {u"PROVIDER=x;data source=dll/kestlib.dll", u"Data Source", u"dll/kestlib.dll", true},
    {u"  Data Source  =  a b.dll  ;", u"DATA SOURCE", u"a b.dll", true},
    {u"Extended Properties=\"\";Mode=Read", u"Extended Properties", u"", true},
    {u"Extended Properties=\"\";Mode=Read", u"mode", u"Read", true},
    {u"Jet OLEDB:Database Password=qant527~", u"jet oledb:database password", u"qant527~", true},
    {u"Password=\"a;b\"\"c\"", u"Password", u"a;b\"c", true},
    {u"Password='it''s';X=1", u"password", u"it's", true},
    {u"Password= \" spaced \" ;X=1", u"Password", u" spaced ", true},
    {u"Mode=Read;Mode=Share Deny None", u"Mode", u"Share Deny None", true},
    {u";;A=1;;", u"A", u"1", true},
    {u"A==B=2", u"A=B", u"2", true},
    {u"A=", u"A", u"", true},
    {u"A=1", u"B", u"", false},
    {u"", u"A", u"", false},
};

class ConnectionStringParse : public testing::TestWithParam<TParseCase> {};

TEST_P(ConnectionStringParse, FindsKeyWithoutRegardToCase) {
  const TParseCase& c = GetParam();
  TConnectionString s = TConnectionString::Parse(c.Text);
  EXPECT_EQ(s.Has(c.Key), c.Present);
  EXPECT_EQ(s.Value(c.Key), std::u16string(c.Expected));
}

INSTANTIATE_TEST_SUITE_P(Cases, ConnectionStringParse, testing::ValuesIn(kParseCases));

const char16_t* const kMalformed[] = {
    u"Provider",                   // no "="
    u"=value",                     // no key
    u"A=1;B",                      // second pair without "="
    u"Password=\"unterminated",    // quote never closed
    u"Password=\"a\" b;X=1",       // text after the closing quote
};

class ConnectionStringMalformed : public testing::TestWithParam<const char16_t*> {};

TEST_P(ConnectionStringMalformed, RaisesTheOleDbFormatError) {
  try {
    TConnectionString::Parse(GetParam());
    FAIL() << "parsed";
  } catch (const EADOError& e) {
    EXPECT_EQ(e.Message(),
              u"Format of the initialization string does not conform to the OLE DB specification.");
  }
}

INSTANTIATE_TEST_SUITE_P(Cases, ConnectionStringMalformed, testing::ValuesIn(kMalformed));

TEST(ConnectionString, TheDictionaryStringKeepsEveryKeyInOrder) {
  TConnectionString s = TConnectionString::Parse(JetConnectionString(u"dll/kestlib.dll", u"qant527~"));
  ASSERT_EQ(s.Entries().size(), 19u);
  EXPECT_EQ(s.Entries()[0].Key, u"Provider");
  EXPECT_EQ(s.Entries()[2].Value, u"dll/kestlib.dll");
  EXPECT_EQ(s.Entries()[4].Key, u"Extended Properties");
  EXPECT_EQ(s.Entries()[4].Value, u"");
  EXPECT_EQ(s.Value(u"Jet OLEDB:Don't Copy Locale on Compact"), u"False");
  EXPECT_EQ(s.Entries()[18].Key, u"Jet OLEDB:SFP");
}

}  // namespace
