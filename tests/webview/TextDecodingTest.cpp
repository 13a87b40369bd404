#include "webview/TextDecoding.h"

#include "tests/harness/Gtest.h"

namespace {

struct TDecodeCase {
  const char* Name;
  std::string Bytes;
  std::u16string ContentType;
  std::string Utf8;  // expected
};

// 汉字 in each encoding.
const std::string kUtf8 = "\xE6\xB1\x89\xE5\xAD\x97";
const std::string kGbk = "\xBA\xBA\xD7\xD6";
// 漢字: Big5 has the traditional form only.
const std::string kBig5 = "\xBA\x7E\xA6\x72";
const std::string kBig5Utf8 = "\xE6\xBC\xA2\xE5\xAD\x97";

const TDecodeCase kCases[] = {
    {"utf-8 byte-order mark", "\xEF\xBB\xBF" + kUtf8, u"", kUtf8},
    {"utf-16le byte-order mark", std::string("\xFF\xFE\x49\x6C\x57\x5B", 6), u"", kUtf8},
    {"utf-16be byte-order mark", std::string("\xFE\xFF\x6C\x49\x5B\x57", 6), u"", kUtf8},
    {"charset of the content type", kGbk, u"text/html; charset=GB2312", kUtf8},
    {"quoted charset", kBig5, u"text/html; charset=\"big5\"", kBig5Utf8},
    {"meta charset", "<meta charset=gbk>" + kGbk, u"", "<meta charset=gbk>" + kUtf8},
    {"meta http-equiv", "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=gb2312\">" + kGbk, u"",
     "<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=gb2312\">" + kUtf8},
    {"header beats meta", "<meta charset=gbk>" + kUtf8, u"text/html; charset=utf-8", "<meta charset=gbk>" + kUtf8},
    {"valid utf-8 without a word", kUtf8, u"", kUtf8},
    {"anything else is gbk", kGbk, u"", kUtf8},
    {"unknown charset falls back", kGbk, u"text/html; charset=x-unheard-of", kUtf8},
    {"a nul inside is dropped", std::string("a\0b", 3), u"", "ab"},
    {"empty", "", u"", ""},
};

TEST(TextDecodingTest, DocumentsBecomeUtf8ByTheFirstRuleThatSpeaks) {
  for (const TDecodeCase& c : kCases) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(DecodeDocument(c.Bytes, c.ContentType), c.Utf8);
  }
}

TEST(TextDecodingTest, CharsetNamesMapToCodePages) {
  struct {
    const char* Name;
    unsigned CodePage;
  } cases[] = {{"utf-8", 65001}, {"UTF8", 65001}, {"gb2312", 936}, {"GBK", 936}, {"gb18030", 936},
               {"big5", 950},    {"iso-8859-1", 1252}, {"shift_jis", 932}, {"klingon", 0}, {"", 0}};
  for (auto& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(CodePageOfCharset(c.Name), c.CodePage);
  }
}

TEST(TextDecodingTest, Utf8Validity) {
  EXPECT_TRUE(IsValidUtf8(kUtf8));
  EXPECT_TRUE(IsValidUtf8("plain"));
  EXPECT_FALSE(IsValidUtf8(kGbk));
  EXPECT_FALSE(IsValidUtf8("\xE6\xB1"));  // cut short
  EXPECT_FALSE(IsValidUtf8("\xFF"));
}

}  // namespace
