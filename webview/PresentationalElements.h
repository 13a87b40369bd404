#pragma once
// The presentational attributes of old pages that the layout engine leaves out or gets
// wrong, turned into style: <font face size>, <body bgcolor text leftmargin topmargin>,
// <table cellpadding align background>, <td background nowrap>, <hr size color width
// noshade>, <img align border hspace vspace>.  The container hands these elements to the
// engine from create_element.
#include <memory>

#include "webview/Litehtml.h"

// An element of our own for the tag, or null for the engine's.
std::shared_ptr<litehtml::element> CreatePresentationalElement(const char* tag,
                                                               const std::shared_ptr<litehtml::document>& doc);

// <font size>: "1".."7", "+n" and "-n" from 3, as CSS pixels (10, 13, 16, 18, 24, 32, 48).
// 0 for a value that is no size.
int FontSizeAttributeToPixels(const char* value);
// "ff0000" (no '#'), "#f00", "red" as CSS colour text; "" for an empty value.
std::string ColorAttributeToCss(const char* value);
// "50" -> "50px", "50%" stays; "" for a value that is no length.
std::string LengthAttributeToCss(const char* value);
