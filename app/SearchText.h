#pragma once
// The texts a search puts together: the SQL from its conditions, and the status line.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// One condition of a search: a fragment of SQL with the edit's text put in.  In the
// fragment "{T}" stands for the text inside a string literal (single quotes doubled,
// so a quote is searched for; "%" and "_" stay wildcards), "{N}" for the text as a
// number, "{W}" for the partial-match wildcard.
struct TSearchCondition {
  std::u16string_view Fragment;
  std::u16string Text;
};

// base + every condition whose text is not empty, in the order given.
std::u16string BuildSearchSql(std::u16string_view base, const std::vector<TSearchCondition>& conditions,
                              std::u16string_view wildcard = u"");
// A literal's content: each single quote doubled.
std::u16string QuoteLiteralText(std::u16string_view text);
// One or two decimal digits: a stroke count the query can compare as a number.
bool IsStrokeCount(std::u16string_view text);
// "搜索用时:SS.ZZZ秒": whole seconds (at least two digits, all of them beyond a minute)
// and milliseconds.
std::u16string ElapsedText(int64_t microseconds);
// " N个结果；搜索用时:SS.ZZZ秒"
std::u16string ResultStatus(int64_t count, int64_t microseconds);

// Status line texts of a search.
inline constexpr const char16_t* kSearchingStatus = u"查询中 请稍候....";
inline constexpr const char16_t* kSearchFailedStatus = u" 查询失败";
// Prompts, shown in a "提示" box.
inline constexpr const char16_t* kNotConnected = u"没有打开的文件！";
inline constexpr const char16_t* kNoCondition = u"请输入查询条件！";
inline constexpr const char16_t* kBadStrokeCount = u"笔画数只能是一位或两位数字！";
inline constexpr const char16_t* kPromptCaption = u"提示";
