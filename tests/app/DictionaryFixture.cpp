#include "tests/app/DictionaryFixture.h"

#include <windows.h>

#include "app/DMa.h"
#include "app/Form1.h"
#include "framework/forms/Application.h"
#include "tests/harness/Db/FixtureDatabase.h"
#include "tests/harness/Gui/Gui.h"

std::string DictionaryFixtureSql(const TDictionaryFixtureOptions& o) {
  std::string text = "TEXT COLLATE NOCASE NOT NULL DEFAULT ''";
  std::string sql =
      "CREATE TABLE kest_hz (id INTEGER PRIMARY KEY, name " + text + ", pinyin " + text +
      ", pinyins " + text + ", pycode " + text + ", part " + text + ", strokes INTEGER, bhm " + text +
      ", structure " + text + ", trad " + text + ", explain " + text + ", english " + text + ");\n"
      "INSERT INTO kest_hz VALUES (1, '中', 'zhōng', 'zhōng，zhòng', 'zhong', '丨', 4, '2512', '独体结构', '中', '', 'middle');\n"
      "INSERT INTO kest_hz VALUES (2, '中', 'zhòng', 'zhōng，zhòng', 'zhong', '丨', 4, '2512', '独体结构', '中', '', 'hit');\n"
      "INSERT INTO kest_hz VALUES (3, '我', 'wǒ', 'wǒ', 'wo', '戈', 7, '3121534', '独体结构', '我', '', 'I');\n"
      "INSERT INTO kest_hz VALUES (4, '丁', 'dīng', 'dīng', 'ding', '一', 2, '12', '独体结构', '丁', '', 'male');\n"
      "INSERT INTO kest_hz VALUES (5, '小', 'xiǎo', 'xiǎo', 'xiao', '小', 3, '234', '独体结构', '小', '', 'small');\n"
      "INSERT INTO kest_hz VALUES (6, '串', 'chuàn', 'chuàn', 'chuan', '丨', 7, '2512512', '独体结构', '串', '', 'string');\n"
      "CREATE INDEX hz_name ON kest_hz(name);\n";
  sql += "CREATE TABLE kest_cd (ID INTEGER PRIMARY KEY AUTOINCREMENT, word " + text + ", szm " + text +
         ", content " + text + (o.dropOrdColumn ? "" : ", ord " + text) + ", spell " + text +
         (o.extraWordColumn ? ", en " + text : "") + ");\n";
  auto word = [&](const char* w, const char* szm, const char* content, const char* ord, const char* spell) {
    std::string values = std::string("'") + w + "', '" + szm + "', '" + content + "'" +
                         (o.dropOrdColumn ? "" : std::string(", '") + ord + "'") + ", '" + spell + "'" +
                         (o.extraWordColumn ? ", 'extra'" : "");
    std::string columns = std::string("word, szm, content") + (o.dropOrdColumn ? "" : ", ord") + ", spell" +
                          (o.extraWordColumn ? ", en" : "");
    sql += "INSERT INTO kest_cd (" + columns + ") VALUES (" + values + ");\n";
  };
  word("中国", "zg", "国家名", "中國", "zhōng guó");
  word("热情", "rq", "热烈的感情", "熱情", "rè qíng");
  word("国家", "gj", "国家", "國家", "guó jiā");
  word("o''clock", "oc", "点钟", "", "");  // a quote inside the word
  // A line break and a tab inside a field.
  sql += std::string("INSERT INTO kest_cd (word, szm, content, spell) VALUES ('换行', 'hh', ") +
         "'第一行' || char(10) || '第二' || char(9) || '列', 'huàn háng');\n";
  std::string cyColumns = "cyid INTEGER PRIMARY KEY AUTOINCREMENT, ChengYu " + text + ", PingYin " + text +
                          ", content " + text + ", js " + text + ", derivation " + text + ", ChuChu " + text +
                          ", dg " + text + ", samples " + text + ", jl " + text + ", pyjm " + text;
  for (const char* c : {"jyc", "fyc", "dmm", "yf", "rw", "yw", "ew", "xy", "gs"}) cyColumns += std::string(", ") + c + " " + text;
  cyColumns += ", cy INTEGER, nd INTEGER, jg INTEGER, cx INTEGER, sici " + text;
  sql += "CREATE TABLE kest_cy (" + cyColumns + ");\n"
         "INSERT INTO kest_cy (ChengYu, PingYin, content, derivation, pyjm, sici) VALUES "
         "('花好月圆', 'huā hǎo yuè yuán', '比喻美好圆满', '宋·张先', 'hhyy', 'never shown');\n"
         "INSERT INTO kest_cy (ChengYu, PingYin, content, pyjm) VALUES ('月明星稀', 'yuè míng xīng xī', '月光明亮', 'ymxx');\n";
  sql += "CREATE TABLE kest_en (ID INTEGER PRIMARY KEY, en " + text + ", zh " + text + ", phonetic " + text + ");\n"
         "INSERT INTO kest_en VALUES (1, 'china', 'n. 中国；瓷器', 'ˈtʃaɪnə');\n"
         "INSERT INTO kest_en VALUES (2, 'good', 'a. 好的', 'gʊd');\n"
         "INSERT INTO kest_en VALUES (3, 'goodness', 'n. 善良', '');\n"
         "INSERT INTO kest_en VALUES (4, 'Goodwill', 'n. 善意', '');\n"
         "CREATE INDEX en_en ON kest_en(en);\n";
  if (!o.withoutSayingsTable)
    sql += "CREATE TABLE kest_xhy (ID INTEGER PRIMARY KEY AUTOINCREMENT, first1 " + text + ", end1 " + text + ");\n"
           "INSERT INTO kest_xhy (first1, end1) VALUES ('阿斗当皇帝', '有名无实');\n"
           "INSERT INTO kest_xhy (first1, end1) VALUES ('老鼠过街', '人人喊打');\n";
  sql += "CREATE TABLE kest_sys (id INTEGER PRIMARY KEY, indexurl " + text + ", adurl " + text + ");\n";
  if (!o.emptySystemTable)
    sql += "INSERT INTO kest_sys VALUES (1, 'http://127.0.0.1:1/cdindex.asp?v=090000', 'http://127.0.0.1:1/cdad.asp');\n";
  return sql;
}

std::u16string WriteDictionaryFixture(TTempDir& dir, const TDictionaryFixtureOptions& options,
                                      const std::string& key) {
  return WriteFixtureDatabase(dir, u"dll\\kestlib.dll", DictionaryFixtureSql(options), key);
}

void CreateProgramIn(const std::u16string& folder) {
  EnsureApplication();
  SetCurrentDirectoryW(reinterpret_cast<LPCWSTR>(folder.c_str()));
  Application->SetTitle(u"青禾词典");
  Application->CreateForm(Form1);
  Application->CreateForm(DMa);
}
