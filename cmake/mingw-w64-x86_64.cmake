# Cross-compiles for 64-bit Windows with Debian's mingw-w64 (posix thread model) and runs the
# built programs under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)

# GNU windres upper-cases the class names of CONTROL statements; llvm-windres keeps them and
# reads the UTF-8 resource script as such when told the code page.
set(CMAKE_RC_COMPILER /usr/lib/llvm-14/bin/llvm-windres)
set(CMAKE_RC_FLAGS_INIT "--target=pe-x86-64 --codepage=65001")

set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-run.sh)
