#include "app/SearchText.h"

#include "framework/core/Unicode.h"

std::u16string QuoteLiteralText(std::u16string_view text) {
  return StringReplaceAll(text, u"'", u"''");
}

std::u16string BuildSearchSql(std::u16string_view base, const std::vector<TSearchCondition>& conditions,
                              std::u16string_view wildcard) {
  std::u16string sql(base);
  for (const auto& c : conditions) {
    if (c.Text.empty()) continue;
    // One pass over the fragment: the text itself is never searched for markers.
    std::u16string_view f = c.Fragment;
    for (size_t i = 0; i < f.size(); ++i) {
      if (f[i] == u'{' && i + 2 < f.size() && f[i + 2] == u'}') {
        switch (f[i + 1]) {
          case u'T': sql += QuoteLiteralText(c.Text); i += 2; continue;
          case u'N': sql += c.Text; i += 2; continue;
          case u'W': sql += wildcard; i += 2; continue;
        }
      }
      sql += f[i];
    }
  }
  return sql;
}

bool IsStrokeCount(std::u16string_view text) {
  if (text.empty() || text.size() > 2) return false;
  for (char16_t c : text)
    if (c < u'0' || c > u'9') return false;
  return true;
}

std::u16string ElapsedText(int64_t microseconds) {
  if (microseconds < 0) microseconds = 0;
  int64_t millis = microseconds / 1000;
  std::u16string seconds = IntToStr(millis / 1000);
  if (seconds.size() < 2) seconds.insert(seconds.begin(), u'0');
  std::u16string fraction = IntToStr(millis % 1000);
  while (fraction.size() < 3) fraction.insert(fraction.begin(), u'0');
  return u"搜索用时:" + seconds + u"." + fraction + u"秒";
}

std::u16string ResultStatus(int64_t count, int64_t microseconds) {
  return u" " + IntToStr(count) + u"个结果；" + ElapsedText(microseconds);
}
