#include "framework/data/ADOConnection.h"

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "framework/core/Exception.h"
#include "framework/core/Property.h"
#include "framework/data/ADOQuery.h"
#include "framework/data/DataSource.h"
#include "framework/data/DatabaseError.h"
#include "tests/framework/data/SharedDatabase.h"
#include "tests/harness/Db/FixtureDatabase.h"
#include "tests/harness/Gtest.h"
#include "tests/harness/TempDir.h"

namespace {

LPCWSTR W(const std::u16string& s) { return reinterpret_cast<LPCWSTR>(s.c_str()); }

std::u16string Substitute(std::u16string text, const std::u16string& path) {
  return StringReplaceAll(text, u"{path}", path);
}

std::vector<std::u16string> Listing(const std::u16string& folder) {
  std::vector<std::u16string> names;
  WIN32_FIND_DATAW data;
  HANDLE h = FindFirstFileW(W(folder + u"\\*"), &data);
  if (h == INVALID_HANDLE_VALUE) return names;
  do names.emplace_back(reinterpret_cast<const char16_t*>(data.cFileName));
  while (FindNextFileW(h, &data));
  FindClose(h);
  std::sort(names.begin(), names.end());
  return names;
}

// Puts the current directory back however the test ends.
class TCurrentDirectory {
 public:
  explicit TCurrentDirectory(const std::u16string& path) {
    WCHAR buffer[MAX_PATH];
    GetCurrentDirectoryW(MAX_PATH, buffer);
    saved_ = reinterpret_cast<const char16_t*>(buffer);
    Change(path);
  }
  ~TCurrentDirectory() { SetCurrentDirectoryW(W(saved_)); }
  void Change(const std::u16string& path) { EXPECT_TRUE(SetCurrentDirectoryW(W(path))); }

 private:
  std::u16string saved_;
};

// A Jet file's first page, as an Access database put in place of ours would start.
std::string JetHeader() {
  std::string page(4096, '\0');
  const char signature[] = "\x00\x01\x00\x00Standard Jet DB";
  page.replace(0, sizeof signature - 1, signature, sizeof signature - 1);
  return page;
}

// ---- opening files ----

struct TOpenCase {
  const char* Name;
  const char16_t* File;      // in the suite's folder; the data source is its full path
  const char16_t* Password;  // "{key}" for the key of the encrypted file
  const char16_t* Message;   // "" when it opens; "{path}" is the full path
};

const TOpenCase kOpenCases[] = {
    {"Encrypted", u"enc.db", u"{key}", u""},
    {"PlainWithoutPassword", u"plain.db", u"", u""},
    {"PlainWithPassword", u"plain.db", u"{key}", u""},  // as Jet ignores a password it needs not
    {"MissingFile", u"missing.dll", u"{key}", u"Could not find file '{path}'."},
    {"MissingFolder", u"nofolder\\kestlib.dll", u"{key}", u"Could not find file '{path}'."},
    {"Folder", u"folder.db", u"{key}", u"Could not find file '{path}'."},
    {"WrongPassword", u"enc.db", u"qant527!", u"Not a valid password."},
    {"PasswordInOtherCase", u"enc.db", u"FIXTURE~527", u"Not a valid password."},
    {"NoPassword", u"enc.db", u"", u"Not a valid password."},
    {"TextFile", u"notes.txt", u"{key}", u"Unrecognized database format '{path}'."},
    {"EmptyFile", u"empty.dll", u"{key}", u"Unrecognized database format '{path}'."},
    {"JetFile", u"jet.mdb", u"{key}", u"Unrecognized database format '{path}'."},
    {"TruncatedPlain", u"cut.db", u"", u"Unrecognized database format '{path}'."},
    // Encrypted pages look random: a random file of whole pages reads as a wrong key.
    {"RandomPages", u"random.dll", u"{key}", u"Not a valid password."},
};

void PrintTo(const TOpenCase& c, std::ostream* os) { *os << c.Name; }

class ConnectionOpen : public testing::TestWithParam<TOpenCase> {
 public:
  static void SetUpTestSuite() {
    dir_ = new TTempDir;
    TTempDir& d = *dir_;
    WriteFixtureDatabase(d, u"enc.db", "CREATE TABLE t (a INTEGER); INSERT INTO t VALUES (1);", kFixtureKey);
    std::u16string plain =
        WritePlainDatabase(d, u"plain.db", "CREATE TABLE t (a INTEGER); INSERT INTO t VALUES (1);");
    WriteTextFile(d, u"notes.txt", "This is no database.\r\n");
    WriteTextFile(d, u"empty.dll", "");
    WriteTextFile(d, u"jet.mdb", JetHeader());
    WriteRandomFile(d, u"random.dll", 4096, 7);
    d.MakeDir(u"folder.db");
    // A plain file cut in the middle of its second page.
    HANDLE h = CreateFileW(W(plain), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    std::string bytes(1500, '\0');
    DWORD got = 0;
    ReadFile(h, bytes.data(), 1500, &got, nullptr);
    CloseHandle(h);
    WriteTextFile(d, u"cut.db", bytes);
  }
  static void TearDownTestSuite() {
    delete dir_;
    dir_ = nullptr;
  }

 protected:
  static TTempDir* dir_;
};
TTempDir* ConnectionOpen::dir_ = nullptr;

TEST_P(ConnectionOpen, OpensOrFailsWithTheProviderMessage) {
  const TOpenCase& c = GetParam();
  std::u16string path = dir_->Path() + u"\\" + c.File;
  auto* db = new TADOConnection(nullptr);
  db->SetConnectionString(
      JetConnectionString(path, StringReplaceAll(c.Password, u"{key}", kFixtureKey16)));
  std::vector<std::u16string> before = Listing(dir_->Path());
  std::u16string message;
  try {
    db->Open();
  } catch (const EADOError& e) {
    message = e.Message();
  }
  EXPECT_EQ(message, Substitute(c.Message, path));
  EXPECT_EQ(db->Connected(), message.empty());
  EXPECT_EQ(db->FileName(), message.empty() ? path : u"");
  if (db->Connected()) {
    EXPECT_EQ(db->CountResultRows(u"select * from t"), 1);
  }
  db->Close();
  // Nothing is created or left behind: no database, no journal.
  EXPECT_EQ(Listing(dir_->Path()), before);
  db->Free();
}

INSTANTIATE_TEST_SUITE_P(Cases, ConnectionOpen, testing::ValuesIn(kOpenCases),
                         [](const testing::TestParamInfo<TOpenCase>& i) { return i.param.Name; });

// ---- the connection string ----

struct TStringCase {
  const char* Name;
  const char16_t* Text;  // "{path}": the shared database, "{key}": its key
  const char16_t* Message;
};

const TStringCase kStringCases[] = {
    {"KeysInAnyCase",
     u"provider=MICROSOFT.JET.OLEDB.4.0;DATA SOURCE={path};jet oledb:database password={key}", u""},
    {"QuotedValues",
     u"Provider='Microsoft.Jet.OLEDB.4.0';Data Source=\"{path}\";Jet OLEDB:Database Password=\"{key}\";"
     u"Extended Properties=\"\"",
     u""},
    {"OtherProvider", u"Provider=SQLOLEDB;Data Source={path}",
     u"Provider 'SQLOLEDB' cannot be found. It may not be properly installed."},
    {"NoProvider", u"Data Source={path}", u"The connection string names no Provider."},
    {"NoDataSource", u"Provider=Microsoft.Jet.OLEDB.4.0", u"The connection string names no Data Source."},
    {"EmptyDataSource", u"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=\"\"",
     u"The connection string names no Data Source."},
    {"Malformed", u"Provider=Microsoft.Jet.OLEDB.4.0;Data Source",
     u"Format of the initialization string does not conform to the OLE DB specification."},
    {"Empty", u"", u"The connection string names no Provider."},
};

void PrintTo(const TStringCase& c, std::ostream* os) { *os << c.Name; }

class ConnectionStringOpen : public testing::TestWithParam<TStringCase> {};

TEST_P(ConnectionStringOpen, ReadsTheKeysItNeeds) {
  const TStringCase& c = GetParam();
  std::u16string text = StringReplaceAll(Substitute(c.Text, SharedDatabase().Path), u"{key}", kFixtureKey16);
  auto* db = new TADOConnection(nullptr);
  db->SetConnectionString(text);
  EXPECT_EQ(db->ConnectionString(), text);  // kept as written
  std::u16string message;
  try {
    db->Open();
  } catch (const EADOError& e) {
    message = e.Message();
  }
  EXPECT_EQ(message, std::u16string(c.Message));
  EXPECT_EQ(db->Connected(), message.empty());
  db->Free();
}

INSTANTIATE_TEST_SUITE_P(Cases, ConnectionStringOpen, testing::ValuesIn(kStringCases),
                         [](const testing::TestParamInfo<TStringCase>& i) { return i.param.Name; });

// ---- where the data source is looked for ----

TEST(ConnectionPath, RelativeDataSourceFollowsTheCurrentDirectory) {
  TTempDir started, elsewhere;
  std::u16string file = WritePlainDatabase(started, u"dll\\kestlib.dll", "CREATE TABLE t (a);");
  TCurrentDirectory cwd(started.Path());
  auto* db = new TADOConnection(nullptr);
  db->SetConnectionString(JetConnectionString(u"dll/kestlib.dll", u"qant527~"));
  db->Open();
  EXPECT_EQ(db->FileName(), file);
  db->Close();

  cwd.Change(elsewhere.Path());
  try {
    db->Open();
    FAIL() << "opened";
  } catch (const EADOError& e) {
    EXPECT_EQ(e.Message(), u"Could not find file '" + elsewhere.Path() + u"\\dll\\kestlib.dll'.");
  }
  EXPECT_FALSE(db->Connected());
  EXPECT_EQ(Listing(elsewhere.Path()), (std::vector<std::u16string>{u".", u".."}));
  db->Free();
}

TEST(ConnectionPath, FolderWithChineseName) {
  TTempDir dir;
  std::u16string file =
      WritePlainDatabase(dir, u"青禾词典\\dll\\kestlib.dll", "CREATE TABLE t (a); INSERT INTO t VALUES ('字');");
  auto* owner = new TComponent(nullptr);
  auto* db = new TADOConnection(owner);
  db->SetConnectionString(JetConnectionString(file, u""));
  auto* q = new TADOQuery(owner);
  q->SetConnection(db);
  q->SQL()->Add(u"select * from t");
  q->Open();
  EXPECT_EQ(q->Fields(0)->AsString(), u"字");
  EXPECT_EQ(db->FileName(), file);
  owner->Free();
}

// ---- connected when loaded ----

struct TModule {
  TComponent* Root = nullptr;
  TADOConnection* Db = nullptr;
  TADOQuery* SysQ = nullptr;
  TDataSource* SysS = nullptr;
};

// Built as a data module is: inside a loading scope, then finished.
TModule LoadModule(const std::u16string& connectionString, const std::u16string& sysSql) {
  TModule m;
  {
    TLoadingScope loading;
    m.Root = new TComponent(nullptr);
    m.Db = new TADOConnection(m.Root);
    m.Db->SetName(u"db");
    m.Db->SetConnectionString(connectionString);
    m.Db->SetLoginPrompt(false);
    m.Db->SetMode(TConnectMode::cmShareDenyNone);
    m.Db->SetConnected(true);
    EXPECT_FALSE(m.Db->Connected());  // applied once loaded
    m.SysQ = new TADOQuery(m.Root);
    m.SysQ->SetName(u"sysQ");
    m.SysQ->SetConnection(m.Db);
    m.SysQ->SQL()->Add(sysSql);
    m.SysQ->SetActive(true);
    EXPECT_FALSE(m.SysQ->Active());
    m.SysS = new TDataSource(m.Root);
    m.SysS->SetName(u"sysS");
    m.SysS->SetDataSet(m.SysQ);
  }
  m.Root->FinishLoading();
  return m;
}

TEST(ConnectionLoading, FailureIsReportedAndLoadingGoesOn) {
  TTempDir dir;
  TCurrentDirectory cwd(dir.Path());
  TExceptionRecorder box;
  TModule m = LoadModule(JetConnectionString(u"dll/kestlib.dll", u"qant527~"), u"select *  from kest_sys");
  const std::u16string missing = u"Could not find file '" + dir.Path() + u"\\dll\\kestlib.dll'.";
  // The connection's failure, then the query's own attempt to connect.
  EXPECT_EQ(box.Messages(), (std::vector<std::u16string>{missing, missing}));
  EXPECT_FALSE(m.Db->Connected());
  EXPECT_FALSE(m.SysQ->Active());
  EXPECT_TRUE(m.SysQ->Eof());
  for (TComponent* c : {m.Root, static_cast<TComponent*>(m.Db), static_cast<TComponent*>(m.SysQ),
                        static_cast<TComponent*>(m.SysS)})
    EXPECT_FALSE(c->IsLoading()) << Utf16ToUtf8(c->Name());
  EXPECT_EQ(Listing(dir.Path()), (std::vector<std::u16string>{u".", u".."}));
  m.Root->Free();
}

TEST(ConnectionLoading, QueryErrorIsReportedAfterTheConnectionOpened) {
  TExceptionRecorder box;
  TModule m = LoadModule(JetConnectionString(SharedDatabase().Path, kFixtureKey16), u"select *  from kest_nosys");
  EXPECT_TRUE(m.Db->Connected());
  ASSERT_EQ(box.Messages().size(), 1u);
  EXPECT_EQ(box.Messages()[0],
            u"Cannot find the input table or query 'kest_nosys'. Make sure it exists and that its name "
            u"is spelled correctly.");
  EXPECT_FALSE(m.SysQ->Active());
  m.Root->Free();
}

TEST(ConnectionLoading, OpensTheConnectionAndTheSystemQuery) {
  TTempDir dir;
  std::u16string file = WritePlainDatabase(dir, u"dll\\kestlib.dll",
                                           "CREATE TABLE kest_sys (id INTEGER PRIMARY KEY, a, b);"
                                           "INSERT INTO kest_sys VALUES (1, 'http://start/', 'http://ad/');");
  TExceptionRecorder box;
  TModule m = LoadModule(JetConnectionString(file, u"qant527~"), u"select *  from kest_sys");
  EXPECT_TRUE(box.Messages().empty());
  EXPECT_TRUE(m.Db->Connected());
  ASSERT_TRUE(m.SysQ->Active());
  EXPECT_FALSE(m.SysQ->Eof());
  EXPECT_EQ(m.SysQ->Fields(1)->AsString(), u"http://start/");
  EXPECT_EQ(m.SysQ->Fields(2)->AsString(), u"http://ad/");
  EXPECT_EQ(m.SysS->State(), TDataSetState::dsBrowse);
  m.Root->Free();
}

TEST(ConnectionLoading, EmptySystemTableOpensAtEof) {
  TExceptionRecorder box;
  TModule m = LoadModule(JetConnectionString(SharedDatabase().Path, kFixtureKey16), u"select *  from empty_sys");
  EXPECT_TRUE(box.Messages().empty());
  EXPECT_TRUE(m.SysQ->Active());
  EXPECT_TRUE(m.SysQ->Eof());
  EXPECT_EQ(m.SysQ->RecordCount(), 0);
  m.Root->Free();
}

TEST(ConnectionLoading, QueryLoadedBeforeItsConnectionConnectsIt) {
  TExceptionRecorder box;
  auto* root = new TComponent(nullptr);
  TADOQuery* q;
  TADOConnection* db;
  {
    TLoadingScope loading;
    q = new TADOQuery(root);  // ahead of the connection in the owner's list
    db = new TADOConnection(root);
    db->SetConnectionString(JetConnectionString(SharedDatabase().Path, kFixtureKey16));
    db->SetConnected(true);
    q->SetConnection(db);
    q->SQL()->Add(u"select * from one_t");
    q->SetActive(true);
  }
  root->FinishLoading();
  EXPECT_TRUE(box.Messages().empty());
  EXPECT_TRUE(db->Connected());
  ASSERT_TRUE(q->Active());
  EXPECT_EQ(q->Fields(1)->AsString(), u"one");
  root->Free();
}

TEST(ConnectionLoading, SwitchedOffAgainWhileLoadingStaysClosed) {
  TExceptionRecorder box;
  auto* root = new TComponent(nullptr);
  TADOConnection* db;
  {
    TLoadingScope loading;
    db = new TADOConnection(root);
    db->SetConnectionString(JetConnectionString(u"dll/none.dll", u""));
    db->SetConnected(true);
    db->SetConnected(false);
  }
  root->FinishLoading();
  EXPECT_TRUE(box.Messages().empty());
  EXPECT_FALSE(db->Connected());
  root->Free();
}

// ---- the connection and its queries ----

class ConnectionWithQuery : public testing::Test {
 protected:
  void SetUp() override {
    file_ = WritePlainDatabase(dir_, u"db.dll", "CREATE TABLE t (a); INSERT INTO t VALUES (1), (2);");
    owner_ = new TComponent(nullptr);
    db_ = new TADOConnection(owner_);
    db_->SetName(u"db");
    db_->SetConnectionString(JetConnectionString(file_, u""));
    q_ = new TADOQuery(owner_);
    q_->SetName(u"q");
    q_->SetConnection(db_);
    q_->SQL()->Add(u"select * from t");
  }
  void TearDown() override {
    if (owner_ != nullptr) owner_->Free();
  }
  TTempDir dir_;
  std::u16string file_;
  TComponent* owner_ = nullptr;
  TADOConnection* db_ = nullptr;
  TADOQuery* q_ = nullptr;
};

TEST_F(ConnectionWithQuery, OpeningTheQueryConnects) {
  ASSERT_FALSE(db_->Connected());
  q_->Open();
  EXPECT_TRUE(db_->Connected());
  EXPECT_EQ(q_->RecordCount(), 2);
  EXPECT_EQ(db_->DataSetCount(), 1);
  EXPECT_EQ(db_->DataSets(0), q_);
}

TEST_F(ConnectionWithQuery, ClosingTheConnectionClosesItsQueries) {
  q_->Open();
  q_->Next();
  db_->Close();
  EXPECT_FALSE(q_->Active());
  EXPECT_FALSE(q_->Eof());
  EXPECT_EQ(q_->Fields(0)->AsString(), u"");
}

TEST_F(ConnectionWithQuery, ConnectionFreedFirst) {
  q_->Open();
  db_->Free();
  EXPECT_EQ(q_->Connection(), nullptr);
  EXPECT_FALSE(q_->Active());
  EXPECT_THROW(q_->Open(), EDatabaseError);
}

TEST_F(ConnectionWithQuery, QueryFreedFirst) {
  q_->Open();
  q_->Free();
  EXPECT_EQ(db_->DataSetCount(), 0);
  EXPECT_TRUE(db_->Connected());
  db_->Close();
}

TEST_F(ConnectionWithQuery, ConnectionStringCannotChangeWhileConnected) {
  db_->Open();
  const std::u16string before = db_->ConnectionString();
  try {
    db_->SetConnectionString(u"Provider=Microsoft.Jet.OLEDB.4.0;Data Source=x");
    FAIL() << "changed";
  } catch (const EADOError& e) {
    EXPECT_EQ(e.Message(), u"Operation is not allowed when the object is open.");
  }
  EXPECT_EQ(db_->ConnectionString(), before);
}

TEST_F(ConnectionWithQuery, PublishedProperties) {
  EXPECT_EQ(GetStrProp(db_, u"ConnectionString"), JetConnectionString(file_, u""));
  EXPECT_EQ(GetStrProp(db_, u"Provider"), u"Microsoft.Jet.OLEDB.4.0");
  EXPECT_EQ(GetEnumProp(db_, u"LoginPrompt"), u"True");
  EXPECT_TRUE(SetEnumProp(db_, u"LoginPrompt", u"False"));
  EXPECT_FALSE(db_->LoginPrompt());
  EXPECT_TRUE(SetEnumProp(db_, u"Mode", u"cmShareDenyNone"));
  EXPECT_EQ(db_->Mode(), TConnectMode::cmShareDenyNone);
  EXPECT_EQ(GetEnumProp(db_, u"Connected"), u"False");
  EXPECT_TRUE(SetEnumProp(db_, u"Connected", u"True"));
  EXPECT_TRUE(db_->Connected());
  EXPECT_EQ(GetEnumProp(db_, u"Connected"), u"True");
}

TEST_F(ConnectionWithQuery, ConnectEventsAndRowCounting) {
  std::vector<std::u16string> events;
  db_->AfterConnect = [&](TObject*) { events.push_back(u"connect"); };
  db_->AfterDisconnect = [&](TObject*) { events.push_back(u"disconnect"); };
  EXPECT_EQ(db_->CountResultRows(u"select * from t where a > 1"), 1);
  db_->Close();
  EXPECT_EQ(events, (std::vector<std::u16string>{u"connect", u"disconnect"}));
}

}  // namespace
