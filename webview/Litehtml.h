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

#include "framework/core/NativeHeadersBegin.h"
// winsock.h turns select into a warning macro when the C library came first;
// html_tag has a virtual select().
#pragma push_macro("select")
#undef select
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
#include "framework/core/NativeHeadersEnd.h"

static_assert(sizeof(litehtml::tchar_t) == 1, "litehtml must run in UTF-8 mode");
