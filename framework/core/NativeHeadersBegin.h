// Include before the headers of a native (Unix) library and include
// NativeHeadersEnd.h after them: the library must not see the Windows macros, or it
// takes the Windows branches of its own headers.  No include guard: the pair may be
// used any number of times in one file.
#pragma push_macro("_WIN32")
#pragma push_macro("WIN32")
#pragma push_macro("__WIN32__")
#pragma push_macro("_WIN64")
#pragma push_macro("WIN64")
#pragma push_macro("__WINNT__")
#undef _WIN32
#undef WIN32
#undef __WIN32__
#undef _WIN64
#undef WIN64
#undef __WINNT__
