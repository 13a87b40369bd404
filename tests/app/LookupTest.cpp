// ./lookup's program over a fixture database: the output format other tools read.
#include <windows.h>

#include <regex>
#include <string>

#include "framework/core/Unicode.h"
#include "tests/app/DictionaryFixture.h"
#include "tests/harness/Gtest.h"

namespace {

struct TRun {
  DWORD exitCode = 0;
  std::string out, err;
};

std::string ReadAll(HANDLE pipe) {
  std::string text;
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(pipe, buffer, sizeof(buffer), &got, nullptr) && got > 0) text.append(buffer, got);
  return text;
}

// Runs the lookup program with arguments, collecting what it writes.
TRun Lookup(const std::u16string& arguments, const std::u16string& folder) {
  std::u16string program = u"Z:" + Utf8ToUtf16(QH_BIN_DIR) + u"/../tools/lookup.exe.so";
  for (auto& c : program)
    if (c == u'/') c = u'\\';
  std::u16string commandLine = u"\"" + program + u"\" " + arguments;
  SECURITY_ATTRIBUTES sa{sizeof(sa), nullptr, TRUE};
  HANDLE outRead, outWrite, errRead, errWrite;
  CreatePipe(&outRead, &outWrite, &sa, 0);
  CreatePipe(&errRead, &errWrite, &sa, 0);
  SetHandleInformation(outRead, HANDLE_FLAG_INHERIT, 0);
  SetHandleInformation(errRead, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOW si{};
  si.cb = sizeof(si);
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdOutput = outWrite;
  si.hStdError = errWrite;
  si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  PROCESS_INFORMATION pi{};
  TRun run;
  if (!CreateProcessW(nullptr, reinterpret_cast<LPWSTR>(commandLine.data()), nullptr, nullptr, TRUE, 0, nullptr,
                      reinterpret_cast<LPCWSTR>(folder.c_str()), &si, &pi)) {
    ADD_FAILURE() << "cannot start lookup: " << GetLastError();
    return run;
  }
  CloseHandle(outWrite);
  CloseHandle(errWrite);
  run.out = ReadAll(outRead);
  run.err = ReadAll(errRead);
  WaitForSingleObject(pi.hProcess, 20000);
  GetExitCodeProcess(pi.hProcess, &run.exitCode);
  CloseHandle(outRead);
  CloseHandle(errRead);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return run;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i)
    if (text[i] == '\n') {
      lines.push_back(text.substr(start, i - start));
      start = i + 1;
    }
  if (start < text.size()) lines.push_back(text.substr(start));
  return lines;
}

class LookupTest : public testing::Test {
 protected:
  void SetUp() override { WriteDictionaryFixture(dir); }
  TTempDir dir;
};

TEST_F(LookupTest, PrintsTheSqlTheStatusLineAHeaderAndTheRecords) {
  TRun run = Lookup(u"hz seachEdit=zhong", dir.Path());
  EXPECT_EQ(run.exitCode, 0u) << run.err;
  std::vector<std::string> lines = Lines(run.out);
  ASSERT_EQ(lines.size(), 5u) << run.out;
  EXPECT_EQ(lines[0], "select *  from kest_hz where 1=1 and (name='zhong' or  pycode='zhong')");
  EXPECT_TRUE(std::regex_match(lines[1], std::regex(" 2个结果；搜索用时:[0-9]{2}\\.[0-9]{3}秒"))) << lines[1];
  EXPECT_EQ(lines[2], "id\tname\tpinyin\tpinyins\tpycode\tpart\tstrokes\tbhm\tstructure\ttrad\texplain\tenglish");
  EXPECT_EQ(lines[3].substr(0, lines[3].find('\t', 2)), "1\t中");
  EXPECT_EQ(run.err, "");
}

TEST_F(LookupTest, PartialLimitAndEscapedFields) {
  TRun partial = Lookup(u"hz se4=12 --partial --limit 2", dir.Path());
  std::vector<std::string> lines = Lines(partial.out);
  ASSERT_EQ(lines.size(), 5u) << partial.out;
  EXPECT_EQ(lines[0], "select *  from kest_hz where 1=1  and bhm like '%12%'");
  EXPECT_EQ(lines[1].substr(0, 14), " 5个结果；");
  TRun words = Lookup(u"cd Edit4=hh", dir.Path());
  lines = Lines(words.out);
  ASSERT_EQ(lines.size(), 4u) << words.out;
  EXPECT_EQ(lines[2], "ID\tword\tszm\tcontent\tord\tspell");
  EXPECT_NE(lines[3].find("第一行\\n第二\\t列"), std::string::npos) << lines[3];
}

struct MessageCase {
  const char16_t* arguments;
  const char* err;
  DWORD exitCode;
};

TEST_F(LookupTest, MessagesGoToStandardErrorWithStatusOne) {
  const MessageCase cases[] = {
      {u"cy", "请输入查询条件！\n", 1},
      {u"hz se3=abc", "笔画数只能是一位或两位数字！\n", 1},
      {u"xx", nullptr, 2},
      {u"hz Edit8=good", nullptr, 2},
      {u"en Edit8=good --limit x", nullptr, 2},
  };
  for (const auto& c : cases) {
    TRun run = Lookup(c.arguments, dir.Path());
    SCOPED_TRACE(Utf16ToUtf8(c.arguments));
    EXPECT_EQ(run.exitCode, c.exitCode);
    EXPECT_EQ(run.out, "");
    if (c.err != nullptr) EXPECT_EQ(run.err, c.err);
    else EXPECT_NE(run.err, "");
  }
}

TEST_F(LookupTest, FindsTheDatabaseAsTheProgramDoesOrTheOneGiven) {
  TTempDir elsewhere;
  TRun missing = Lookup(u"en Edit8=good", elsewhere.Path());
  EXPECT_EQ(missing.exitCode, 1u);
  EXPECT_EQ(missing.err.rfind("Could not find file '", 0), 0u) << missing.err;
  std::u16string file = dir.Path() + u"\\dll\\kestlib.dll";
  TRun given = Lookup(u"en Edit8=good --db \"" + file + u"\"", elsewhere.Path());
  EXPECT_EQ(given.exitCode, 0u) << given.err;
  EXPECT_EQ(Lines(given.out).size(), 6u) << given.out;
}

}  // namespace
