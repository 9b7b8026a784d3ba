# Cross-compiles for Windows on ARM64 (aarch64-w64-mingw32) with clang 16 and lld 16 on
# mingw-w64's headers, which are the same for every architecture. Debian has no ARM64 start-up
# objects, C or C++ runtime or import libraries for mingw-w64: the toolchain builds the library
# (which needs none of them) and C programs without the runtime, whose import libraries the
# project makes from .def files. Programs run in an arm64 Debian root with Debian's arm64 Wine
# (cmake/arm64-root.sh).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR aarch64)
set(DXDLG_TOOLCHAIN_WITHOUT_C_RUNTIME ON CACHE BOOL "The toolchain has no C or C++ runtime" FORCE)

foreach(lang C CXX ASM)
    set(CMAKE_${lang}_COMPILER_TARGET aarch64-w64-mingw32)
    # No default libraries (mingw-w64's -lkernel32 -luser32 ... do not exist for ARM64 here).
    set(CMAKE_${lang}_STANDARD_LIBRARIES "" CACHE STRING "Libraries linked by default" FORCE)
endforeach()
set(CMAKE_C_COMPILER clang-16)
set(CMAKE_CXX_COMPILER clang++-16)
set(CMAKE_ASM_COMPILER clang-16)
# Only compiling: a test program could not be linked without a runtime.
set(CMAKE_TRY_COMPILE_TARGET_TYPE STATIC_LIBRARY)

# mingw-w64's headers and clang's own, nothing of the host's or of another target's sysroot.
execute_process(COMMAND clang-16 -print-resource-dir
    OUTPUT_VARIABLE DXDLG_CLANG_RESOURCE_DIR OUTPUT_STRIP_TRAILING_WHITESPACE)
# The compile flags reach the linker too, which has no use for these.
set(DXDLG_MINGW_INCLUDE "-Wno-unused-command-line-argument -nostdinc -isystem ${DXDLG_CLANG_RESOURCE_DIR}/include -isystem /usr/share/mingw-w64/include")
set(CMAKE_C_FLAGS_INIT "${DXDLG_MINGW_INCLUDE}")
set(CMAKE_CXX_FLAGS_INIT "${DXDLG_MINGW_INCLUDE}")
set(CMAKE_ASM_FLAGS_INIT "${DXDLG_MINGW_INCLUDE}")

# lld 16: lld 14 writes the export table with ordinal base 0 and an empty slot 0.
foreach(kind EXE SHARED MODULE)
    set(CMAKE_${kind}_LINKER_FLAGS_INIT "-fuse-ld=lld --ld-path=/usr/lib/llvm-16/bin/ld.lld")
endforeach()

# The archiver and its index of LLVM 16, which read the library's objects: they are LLVM 16
# bitcode, optimised as one at the link (CMakeLists.txt).
set(CMAKE_AR /usr/lib/llvm-16/bin/llvm-ar)
set(CMAKE_RANLIB /usr/lib/llvm-16/bin/llvm-ranlib)

# llvm-windres reads the UTF-8 scripts with the code page given; "pe-aarch64" as the target
# fails in mingw-w64's _mingw.h, the triple works.
set(CMAKE_RC_COMPILER /usr/lib/llvm-14/bin/llvm-windres)
set(CMAKE_RC_FLAGS_INIT "--target=aarch64-w64-mingw32 --codepage=65001 -I/usr/share/mingw-w64/include")

set(CMAKE_FIND_ROOT_PATH /usr/share/mingw-w64)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/wine-arm64-run.sh)
