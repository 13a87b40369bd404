# Winelib build: the program and its tests are ELF objects that run under wine64.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_LIBRARY_ARCHITECTURE x86_64-linux-gnu)
set(CMAKE_C_COMPILER /usr/lib/wine/winegcc)
set(CMAKE_CXX_COMPILER /usr/lib/wine/wineg++)
set(CMAKE_EXECUTABLE_SUFFIX .exe.so)
# wide characters are char16_t-compatible only without -fshort-wchar tricks
set(CMAKE_C_FLAGS_INIT "-fno-short-wchar -DNOMINMAX -DUNICODE -D_UNICODE")
set(CMAKE_CXX_FLAGS_INIT "-fno-short-wchar -DNOMINMAX -DUNICODE -D_UNICODE")
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-exec.sh)
