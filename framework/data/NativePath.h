#pragma once
// File names as the native database engine wants them.  The program works with
// Windows paths; under Winelib SQLite is a Linux library and opens Unix paths.
#include <string>

// The name the engine opens for a full Windows path: its Unix path under Wine, the
// path in UTF-8 on Windows.  Empty when the path has no such counterpart.
std::string NativeFileName(const std::u16string& fullPath);
