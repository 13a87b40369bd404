#pragma once
// litehtml is a native library: it must not see the Windows macros, or it switches its
// strings to wchar_t.  Without them it runs in UTF-8 mode (tchar_t = char).
// The C library first: its struct timeval must come before winsock's.
#include <cstdlib>
#include <ctime>
#include <functional>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <windows.h>

#pragma push_macro("_WIN32")
#pragma push_macro("WIN32")
#pragma push_macro("__WIN32__")
#pragma push_macro("_WIN64")
#pragma push_macro("WIN64")
#pragma push_macro("__WINNT__")
// winsock.h turns select into a warning macro when the C library came first;
// html_tag has a virtual select().
#pragma push_macro("select")
#undef select
#undef _WIN32
#undef WIN32
#undef __WIN32__
#undef _WIN64
#undef WIN64
#undef __WINNT__
#include <litehtml/litehtml.h>
#include <litehtml/el_text.h>
#include <litehtml/el_space.h>
#include <litehtml/el_break.h>
#include <litehtml/el_image.h>
#include <litehtml/el_anchor.h>
#include <litehtml/el_body.h>
#include <litehtml/el_font.h>
#include <litehtml/el_table.h>
#include <litehtml/el_td.h>
#pragma pop_macro("select")
#pragma pop_macro("__WINNT__")
#pragma pop_macro("WIN64")
#pragma pop_macro("_WIN64")
#pragma pop_macro("__WIN32__")
#pragma pop_macro("WIN32")
#pragma pop_macro("_WIN32")

static_assert(sizeof(litehtml::tchar_t) == 1, "litehtml must run in UTF-8 mode");
