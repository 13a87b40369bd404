#include "webview/FontFamilies.h"

#include <set>

#include "framework/core/Unicode.h"
#include "tests/harness/Gtest.h"

namespace {

struct TFamilyCase {
  const char* Css;
  const char16_t* Face;
};

// Installed here: the faces the program's prefix maps, and one Latin face.
const std::set<std::u16string> kInstalled = {u"宋体", u"楷体_GB2312", u"黑体", u"SimSun", u"KaiTi",
                                             u"DejaVu Sans Mono", u"Verdana"};

const TFamilyCase kCases[] = {
    {"宋体", u"宋体"},
    {"'楷体_GB2312'", u"楷体_GB2312"},
    {"\"黑体\", serif", u"黑体"},
    {"KaiTi_GB2312", u"楷体_GB2312"},   // alias of a missing name
    {"SimHei", u"黑体"},
    {"Microsoft YaHei, sans-serif", u"黑体"},
    {"仿宋_GB2312", u"宋体"},
    {"serif", u"宋体"},
    {"sans-serif", u"黑体"},
    {"monospace", u"DejaVu Sans Mono"},
    {"cursive", u"楷体_GB2312"},
    {"Arial, Helvetica, sans-serif", u"黑体"},
    {"NoSuchFace, Verdana", u"Verdana"},
    {"NoSuchFace", u"宋体"},
    {"", u"宋体"},
    {" , ,", u"宋体"},
};

TEST(FontFamiliesTest, FirstInstalledFamilyWinsWithGenericAndAliasNamesMapped) {
  TFontFamilies families([](const std::u16string& face) { return kInstalled.count(face) != 0; });
  for (const TFamilyCase& c : kCases) {
    SCOPED_TRACE(c.Css);
    EXPECT_EQ(families.Resolve(c.Css), c.Face);
  }
}

TEST(FontFamiliesTest, EachFaceIsAskedAboutOnce) {
  int asked = 0;
  TFontFamilies families([&](const std::u16string& face) {
    ++asked;
    return face == u"宋体";
  });
  families.Resolve("NoSuchFace, 宋体");
  families.Resolve("NoSuchFace, serif");
  families.Resolve("NoSuchFace, 宋体");
  EXPECT_EQ(asked, 2);
}

TEST(FontFamiliesTest, ThePlatformKnowsTheSubstitutedChineseFacesAndNotMissingOnes) {
  // The test prefix substitutes these names (tools/env/setup.sh).
  for (const char16_t* face : {u"宋体", u"楷体_GB2312", u"黑体", u"SimSun"}) {
    SCOPED_TRACE(Utf16ToUtf8(face));
    EXPECT_TRUE(FaceInstalled(face));
  }
  EXPECT_FALSE(FaceInstalled(u"NoSuchFaceAnywhere"));
  EXPECT_FALSE(FaceInstalled(u""));
}

}  // namespace
