#pragma once
// Pages the view makes itself, as UTF-8 markup: the listing of a folder, the page of a
// failed navigation, a page around one image or around plain text.
#include <cstdint>
#include <string>
#include <string_view>

std::u16string HtmlEscape(std::u16string_view text);

// The folder's sub-folders, then its files, by name; each a link (file: address), with a
// link to the parent folder first.  The folder's path as title.
std::string FolderListingPage(const std::u16string& folder);
// The address and the reason, for a navigation that failed and that the host let show.
std::string ErrorPage(const std::u16string& url, int32_t status);
std::string ImagePage(const std::u16string& url);
std::string TextPage(std::string_view utf8);

// By extension: "text/html", "text/plain", "image/png" …; "" for a kind the view does not
// show as a page of its own.
std::u16string ContentTypeOfFile(const std::u16string& path);
// How to show bytes of a content type.
enum class TContentShape { Html, Text, Image, Unknown };
TContentShape ShapeOfContent(std::u16string_view contentType);
