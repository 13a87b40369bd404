// Closes NativeHeadersBegin.h: the Windows macros as they were.  No include guard.
#pragma pop_macro("__WINNT__")
#pragma pop_macro("WIN64")
#pragma pop_macro("_WIN64")
#pragma pop_macro("__WIN32__")
#pragma pop_macro("WIN32")
#pragma pop_macro("_WIN32")
