// The dictionary store of the program over good and bad database files.
#include <windows.h>

#include "app/DMa.h"
#include "app/Form1.h"
#include "framework/core/Exception.h"
#include "framework/forms/Application.h"
#include "tests/app/DictionaryFixture.h"
#include "tests/harness/Db/FixtureDatabase.h"
#include "tests/harness/Gtest.h"
#include "tests/harness/Gui/Gui.h"

namespace {

class StoreTest : public testing::Test {
 protected:
  void SetUp() override {
    EnsureApplication();
    Application->OnException = [this](TObject*, const std::exception& e) { errors.push_back(ExceptionText(e)); };
  }
  void Start() {
    CreateProgramIn(dir.Path());
    Form1->OnPrompt = [this](const std::u16string& text) { prompts.push_back(text); };
  }
  TTempDir dir;
  std::vector<std::u16string> errors, prompts;
};

TEST_F(StoreTest, ConnectionStringIsTheDictionarysOwnAndOpensTheFileReadOnly) {
  WriteDictionaryFixture(dir);
  Start();
  EXPECT_TRUE(errors.empty());
  EXPECT_EQ(DMa->db->ConnectionString(),
            u"Provider=Microsoft.Jet.OLEDB.4.0;User ID=Admin;Data Source=dll/kestlib.dll;Mode=Share Deny None;"
            u"Extended Properties=\"\";Persist Security Info=False;Jet OLEDB:System database=\"\";"
            u"Jet OLEDB:Registry Path=\"\";Jet OLEDB:Database Password=qant527~;Jet OLEDB:Engine Type=5;"
            u"Jet OLEDB:Database Locking Mode=1;Jet OLEDB:Global Partial Bulk Ops=2;"
            u"Jet OLEDB:Global Bulk Transactions=1;Jet OLEDB:New Database Password=\"\";"
            u"Jet OLEDB:Create System Database=False;Jet OLEDB:Encrypt Database=False;"
            u"Jet OLEDB:Don't Copy Locale on Compact=False;Jet OLEDB:Compact Without Replica Repair=False;"
            u"Jet OLEDB:SFP=False");
  EXPECT_EQ(DMa->db->FileName(), dir.Path() + u"\\dll\\kestlib.dll");
  // Only the system table is open; it stands on its first record.
  EXPECT_TRUE(DMa->sysQ->Active());
  EXPECT_FALSE(DMa->sysQ->Eof());
  EXPECT_EQ(DMa->sysQ->Fields(1)->AsString(), u"http://127.0.0.1:1/cdindex.asp?v=090000");
  EXPECT_EQ(DMa->sysQ->Fields(2)->AsString(), u"http://127.0.0.1:1/cdad.asp");
  for (TADOQuery* q : {DMa->seachQ, DMa->cd_seachq, DMa->cy_seachQ, DMa->en_seachQ, DMa->xhy_seachQ})
    EXPECT_FALSE(q->Active()) << Utf16ToUtf8(q->Name());
  EXPECT_EQ(DMa->cy_seachS->DataSet(), DMa->cy_seachQ);
  // Persistent fields in their order; the idiom query has 25 and sici last.
  Form1->Edit5->SetText(u"hhyy");
  Form1->seach3Click(nullptr);
  ASSERT_EQ(DMa->cy_seachQ->FieldCount(), 25);
  EXPECT_EQ(DMa->cy_seachQ->Fields(1)->FieldName(), u"ChengYu");
  EXPECT_EQ(DMa->cy_seachQ->Fields(1)->AsString(), u"花好月圆");
  EXPECT_EQ(DMa->cy_seachQ->Fields(10)->AsString(), u"hhyy");
  EXPECT_EQ(DMa->cy_seachQ->Fields(24)->FieldName(), u"sici");
  EXPECT_EQ(DMa->cy_seachQ->Fields(21)->AsString(), u"");  // a null integer reads empty
  Form1->Edit4->SetText(u"zg");
  Form1->seach2Click(nullptr);
  ASSERT_EQ(DMa->cd_seachq->FieldCount(), 6);
  EXPECT_EQ(DMa->cd_seachq->Fields(4)->FieldName(), u"ord");
  EXPECT_EQ(DMa->cd_seachq->Fields(4)->AsString(), u"中國");
}

struct FailureCase {
  const char* name;
  std::function<void(TTempDir&)> make;
  std::u16string message;  // the start of the provider's message
};

TEST_F(StoreTest, ADatabaseThatCannotBeOpenedIsReportedAndSearchesSayNoFile) {
  const FailureCase cases[] = {
      {"no database below the current directory", [](TTempDir&) {}, u"Could not find file '"},
      {"wrong password", [](TTempDir& d) { WriteDictionaryFixture(d, {}, "wrong~key"); }, u"Not a valid password."},
      {"not a database", [](TTempDir& d) { WriteTextFile(d, u"dll\\kestlib.dll", "这不是数据库\r\n"); },
       u"Unrecognized database format '"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TTempDir folder;
    c.make(folder);
    errors.clear();
    prompts.clear();
    EnsureApplication();
    SetCurrentDirectoryW(reinterpret_cast<LPCWSTR>(folder.Path().c_str()));
    TDMa* module = nullptr;
    Application->CreateForm(module);
    DMa = module;
    // The connection and the system table each report the provider's message; loading goes on.
    ASSERT_EQ(errors.size(), 2u);
    for (const auto& e : errors) EXPECT_EQ(e.rfind(c.message, 0), 0u) << Utf16ToUtf8(e);
    EXPECT_FALSE(module->db->Connected());
    EXPECT_FALSE(module->sysQ->Active());
    EXPECT_TRUE(module->sysQ->Eof());
    EXPECT_TRUE(GetFileAttributesW(reinterpret_cast<LPCWSTR>((folder.Path() + u"\\dll\\kestlib.dll").c_str())) ==
                    INVALID_FILE_ATTRIBUTES ||
                c.make != nullptr);
    module->Free();
    DMa = nullptr;
  }
  // With the database not open, every search stops with the message.
  EnsureApplication();
  Application->CreateForm(Form1);
  Form1->OnPrompt = [this](const std::u16string& text) { prompts.push_back(text); };
  Form1->Edit11->SetText(u"老鼠");
  Form1->seach5Click(nullptr);
  EXPECT_EQ(prompts, (std::vector<std::u16string>{u"没有打开的文件！"}));
}

TEST_F(StoreTest, StartedFromAnotherDirectoryTheDatabaseIsLookedForThere) {
  WriteDictionaryFixture(dir);
  TTempDir elsewhere;
  CreateProgramIn(elsewhere.Path());
  ASSERT_EQ(errors.size(), 2u);
  EXPECT_NE(errors[0].find(elsewhere.Path() + u"\\dll\\kestlib.dll"), std::u16string::npos)
      << Utf16ToUtf8(errors[0]);
  // Nothing was created there.
  EXPECT_EQ(GetFileAttributesW(reinterpret_cast<LPCWSTR>((elsewhere.Path() + u"\\dll").c_str())),
            INVALID_FILE_ATTRIBUTES);
}

TEST_F(StoreTest, MissingPersistentColumnFailsTheOpenAndAnExtraOneIsIgnored) {
  TDictionaryFixtureOptions withoutOrd;
  withoutOrd.dropOrdColumn = true;
  WriteDictionaryFixture(dir, withoutOrd);
  Start();
  EXPECT_TRUE(errors.empty());
  Form1->Edit4->SetText(u"zg");
  // Through the button, as the user does: the error reaches the exception box.
  SendMessageW(Form1->Button3->Handle(), BM_CLICK, 0, 0);
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0], u"cd_seachq: Field 'ord' not found");
  EXPECT_FALSE(DMa->cd_seachq->Active());
  EXPECT_EQ(Form1->timeP->Caption(), u" 查询失败");
  EXPECT_EQ(Form1->Edit1->Text(), u"select *  from kest_cd where 1=1 and (word='zg' or  szm='zg')");

  TTempDir other;
  TDictionaryFixtureOptions extra;
  extra.extraWordColumn = true;
  WriteDictionaryFixture(other, extra);
  DMa->Free();
  errors.clear();
  SetCurrentDirectoryW(reinterpret_cast<LPCWSTR>(other.Path().c_str()));
  Application->CreateForm(DMa);
  Form1->seach2Click(nullptr);
  EXPECT_TRUE(errors.empty());
  EXPECT_EQ(DMa->cd_seachq->FieldCount(), 6);
  EXPECT_EQ(DMa->cd_seachq->RecordCount(), 1);
}

TEST_F(StoreTest, MissingTableFailsThatSearchOnly) {
  TDictionaryFixtureOptions noSayings;
  noSayings.withoutSayingsTable = true;
  WriteDictionaryFixture(dir, noSayings);
  Start();
  EXPECT_TRUE(errors.empty());
  Form1->Edit11->SetText(u"老鼠");
  SendMessageW(Form1->Button9->Handle(), BM_CLICK, 0, 0);
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_NE(errors[0].find(u"kest_xhy"), std::u16string::npos) << Utf16ToUtf8(errors[0]);
  EXPECT_EQ(Form1->timeP->Caption(), u" 查询失败");
  Form1->Edit8->SetText(u"good");
  Form1->seach4Click(nullptr);
  EXPECT_EQ(DMa->en_seachQ->RecordCount(), 3);
}

TEST_F(StoreTest, EmptySystemTableOpensAtItsEnd) {
  TDictionaryFixtureOptions emptySystem;
  emptySystem.emptySystemTable = true;
  WriteDictionaryFixture(dir, emptySystem);
  Start();
  EXPECT_TRUE(errors.empty());
  EXPECT_TRUE(DMa->sysQ->Active());
  EXPECT_TRUE(DMa->sysQ->Eof());
}

}  // namespace
