#include "tests/framework/data/SharedDatabase.h"

#include "framework/core/Exception.h"
#include "tests/harness/Db/FixtureDatabase.h"
#include "tests/harness/Gtest.h"

const char kFixtureKey[] = "fixture~527";
const char16_t kFixtureKey16[] = u"fixture~527";

// Searched text columns are COLLATE NOCASE, as in the dictionary file, so "=" ignores
// ASCII case.  kest_cd lists its columns in another order than its persistent fields.
const char kSharedSchema[] = R"SQL(
CREATE TABLE empty_t (a INTEGER, b TEXT);
CREATE TABLE one_t (a INTEGER, b TEXT);
INSERT INTO one_t VALUES (1, 'one');
CREATE TABLE five_t (a INTEGER, b TEXT);
INSERT INTO five_t VALUES (1, 'r1'), (2, 'r2'), (3, 'r3'), (4, 'r4'), (5, 'r5');
CREATE TABLE kest_cd (spell VARCHAR(50), ord VARCHAR(50), content MEMO,
                      ID INTEGER PRIMARY KEY, word VARCHAR(50) COLLATE NOCASE,
                      szm VARCHAR(50) COLLATE NOCASE, extra TEXT);
INSERT INTO kest_cd VALUES ('zhōng guó', '1', '中华人民共和国的简称。', 7, '中国', 'zg', 'x');
INSERT INTO kest_cd VALUES ('huā', '2', NULL, 9, '花', 'h', NULL);
CREATE TABLE cd_without_ord (ID INTEGER PRIMARY KEY, word VARCHAR(50), szm VARCHAR(50),
                             content MEMO, spell VARCHAR(50));
INSERT INTO cd_without_ord VALUES (1, '中国', 'zg', 'c', 's');
CREATE TABLE kest_en (ID INTEGER PRIMARY KEY, en VARCHAR(255) COLLATE NOCASE,
                      zh VARCHAR(255) COLLATE NOCASE);
INSERT INTO kest_en (en, zh) VALUES ('china', 'n. 中国；瓷器'), ('China', 'n. 中华'),
  ('chinaware', 'n. 瓷器'), ('machine', 'n. 机器'), ('o''clock', 'adv. 点钟'),
  ('chain', 'n. 链'), ('CHINO', 'n. 斜纹布'), ('100%', 'adj. 百分之百');
CREATE TABLE kest_hz (id INTEGER PRIMARY KEY, name VARCHAR(2) COLLATE NOCASE,
                      pycode VARCHAR(20) COLLATE NOCASE, part VARCHAR(2), strokes INTEGER,
                      bhm VARCHAR(40));
INSERT INTO kest_hz VALUES (1, '中', 'zhong', '丨', 4, '2512'), (2, '国', 'guo', '囗', 8, '25112141'),
  (3, '小', 'xiao', '小', 3, '234'), (4, '丁', 'ding', '一', 2, '12');
CREATE TABLE kinds (i INTEGER, r REAL, t TEXT, m MEMO, b BLOB, u, n INTEGER, big INTEGER);
INSERT INTO kinds VALUES (42, 1.5, '中文 text', 'line 1' || char(13, 10) || 'line 2', x'414243',
                          'untyped', NULL, 9223372036854775807);
CREATE TABLE kest_sys (id INTEGER PRIMARY KEY, url1 VARCHAR(255), url2 VARCHAR(255));
INSERT INTO kest_sys VALUES (1, 'http://start.example/', 'http://ad.example/');
CREATE TABLE empty_sys (id INTEGER PRIMARY KEY, url1 VARCHAR(255), url2 VARCHAR(255));
)SQL";

namespace {

TSharedDatabase* g_shared = nullptr;

// Closes the connection and removes the folder once every test has run.
class TSharedDatabaseCleanup : public testing::Environment {
 public:
  void TearDown() override {
    if (g_shared == nullptr) return;
    g_shared->Owner->Free();
    delete g_shared;
    g_shared = nullptr;
  }
};

[[maybe_unused]] testing::Environment* const g_cleanup =
    testing::AddGlobalTestEnvironment(new TSharedDatabaseCleanup);

}  // namespace

TSharedDatabase& SharedDatabase() {
  if (g_shared == nullptr) {
    auto* s = new TSharedDatabase;
    s->Path = WriteFixtureDatabase(s->Dir, u"dll\\shared.db", kSharedSchema, kFixtureKey);
    s->Owner = new TComponent(nullptr);
    s->Connection = new TADOConnection(s->Owner);
    s->Connection->SetName(u"db");
    s->Connection->SetConnectionString(JetConnectionString(s->Path, kFixtureKey16));
    s->Connection->Open();
    g_shared = s;
  }
  return *g_shared;
}

TADOQuery* NewQuery(TComponent* owner, const std::u16string& name, const std::u16string& sql) {
  auto* q = new TADOQuery(owner);
  q->SetName(name);
  q->SetConnection(SharedDatabase().Connection);
  q->SQL()->Clear();
  q->SQL()->Add(sql);
  return q;
}

namespace {
std::vector<std::u16string> g_messages;
void Record(const std::exception& e) { g_messages.push_back(ExceptionText(e)); }
}  // namespace

TExceptionRecorder::TExceptionRecorder() {
  g_messages.clear();
  SetExceptionHandler(Record);
}

TExceptionRecorder::~TExceptionRecorder() { SetExceptionHandler(nullptr); }

const std::vector<std::u16string>& TExceptionRecorder::Messages() const { return g_messages; }
