#pragma once
// GoogleTest is a native library: it must not see the Windows macros.
#include <windows.h>

#include "framework/core/NativeHeadersBegin.h"
#include <gtest/gtest.h>
#include "framework/core/NativeHeadersEnd.h"

#include <string>

#include "framework/core/Unicode.h"

// Readable failure output for UTF-16 strings.
inline void PrintTo(const std::u16string& s, std::ostream* os) { *os << '"' << Utf16ToUtf8(s) << '"'; }
