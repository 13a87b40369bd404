#include "webview/MarkupGuard.h"

#include "tests/harness/Gtest.h"

namespace {

std::string Repeat(const std::string& s, int n) {
  std::string out;
  for (int i = 0; i < n; ++i) out += s;
  return out;
}

struct TGuardCase {
  const char* Name;
  std::string Html;
  std::string Expected;
};

TEST(MarkupGuardTest, MendsOnlyWhatWouldHurtTheEngine) {
  TMarkupGuardLimits limits;
  limits.MaxDepth = 3;
  limits.MaxSpan = 50;
  const TGuardCase cases[] = {
      {"shallow markup stays", "<div><p>a</p></div>", "<div><p>a</p></div>"},
      {"tags below the depth go, their text stays", "<div><div><div><div><b>x</b></div></div></div></div>",
       "<div><div><div>x</div></div></div>"},
      {"unclosed tags count as open", "<i><i><i><i><i>deep", "<i><i><i>deep"},
      {"a paragraph ends the open one", "<p>a<p>b<p>c<p>d", "<p>a<p>b<p>c<p>d"},
      {"void elements do not nest", "<br><br><br><br><img src=x><hr>", "<br><br><br><br><img src=x><hr>"},
      {"script content is not markup", "<script>if (a<b) x='<div><div><div><div>';</script>",
       "<script>if (a<b) x='<div><div><div><div>';</script>"},
      {"comments pass", "<!-- <div><div><div><div> -->", "<!-- <div><div><div><div> -->"},
      {"quoted '>' does not end a tag", "<a title='a>b'>x</a>", "<a title='a>b'>x</a>"},
      {"colspan above the limit", "<td colspan=99999999999>x", "<td colspan=50>x"},
      {"rowspan quoted", "<td ROWSPAN=\"70\">x", "<td ROWSPAN=\"50\">x"},
      {"spans within the limit", "<td colspan=3 rowspan=2>x", "<td colspan=3 rowspan=2>x"},
      {"doctype and stray lt", "<!DOCTYPE html>a < b", "<!DOCTYPE html>a < b"},
      {"cut off tag", "<div><span title=", "<div><span title="},
  };
  for (const TGuardCase& c : cases) {
    SCOPED_TRACE(c.Name);
    EXPECT_EQ(GuardMarkup(c.Html, limits), c.Expected);
  }
}

TEST(MarkupGuardTest, AMegabyteOfNestedDivsComesDownToTheDepth) {
  std::string html = Repeat("<div>", 200000) + "end";
  std::string guarded = GuardMarkup(html);
  EXPECT_EQ(guarded, Repeat("<div>", TMarkupGuardLimits().MaxDepth) + "end");
}

}  // namespace
