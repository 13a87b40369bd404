#pragma once
// The bytes of a document or style sheet as UTF-8 text for the layout engine.
#include <string>
#include <string_view>

// In this order: a byte-order mark; the charset of a Content-Type value
// ("text/html; charset=gb2312"); a <meta> charset within the first 2 KB; UTF-8 when the
// bytes are valid UTF-8; otherwise GBK, since the pages of this program are Chinese.
std::string DecodeDocument(std::string_view bytes, std::u16string_view contentType = {});

// The code page of a charset name (utf-8 65001, gbk/gb2312/gb18030 936, big5 950 …),
// 0 for a name it does not know.
unsigned CodePageOfCharset(std::string_view charset);

bool IsValidUtf8(std::string_view bytes);
