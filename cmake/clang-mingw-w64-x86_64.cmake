# Cross-compiles for 64-bit Windows with clang 16 and lld 16 in place of gcc and GNU ld, on the same
# mingw-w64 headers, C runtime and libstdc++ (posix thread model) as the gcc toolchain, whose
# resource compiler, search paths and Wine emulator it shares.
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-x86_64.cmake)

set(CMAKE_C_COMPILER clang-16)
set(CMAKE_CXX_COMPILER clang++-16)
set(CMAKE_ASM_COMPILER clang-16)
set(CMAKE_C_COMPILER_TARGET x86_64-w64-mingw32)
set(CMAKE_CXX_COMPILER_TARGET x86_64-w64-mingw32)
set(CMAKE_ASM_COMPILER_TARGET x86_64-w64-mingw32)
set(CMAKE_SYSROOT /usr/x86_64-w64-mingw32)

# clang (14 and 16 alike) does not recognise Debian's gcc folder ("12-posix") as a version, so
# it finds neither libstdc++'s headers nor the gcc runtime libraries there by itself.
execute_process(COMMAND x86_64-w64-mingw32-gcc-posix -print-libgcc-file-name
    OUTPUT_VARIABLE DXDLG_MINGW_LIBGCC OUTPUT_STRIP_TRAILING_WHITESPACE)
get_filename_component(DXDLG_MINGW_GCC_DIR "${DXDLG_MINGW_LIBGCC}" DIRECTORY)
set(DXDLG_LIBSTDCXX_INCLUDE ${DXDLG_MINGW_GCC_DIR}/include/c++)

# gcc's libstdc++ for mingw-w64 keeps its thread-local variables in emulated TLS, which clang has
# to use too; and gcc's driver links the posix thread library into every program, clang's only
# when asked with -pthread (emulated TLS needs it for its keys).
set(CMAKE_C_FLAGS_INIT "-femulated-tls -pthread")
set(CMAKE_CXX_FLAGS_INIT "-femulated-tls -pthread -stdlib++-isystem ${DXDLG_LIBSTDCXX_INCLUDE} -stdlib++-isystem ${DXDLG_LIBSTDCXX_INCLUDE}/x86_64-w64-mingw32 -stdlib++-isystem ${DXDLG_LIBSTDCXX_INCLUDE}/backward")
# lld 16 by its full path: Debian installs no unversioned ld.lld in /usr/bin. lld 14 would write
# the export table with ordinal base 0 and an empty slot 0; lld 16 writes it exactly.
foreach(kind EXE SHARED MODULE)
    set(CMAKE_${kind}_LINKER_FLAGS_INIT
        "-fuse-ld=lld --ld-path=/usr/lib/llvm-16/bin/ld.lld -L${DXDLG_MINGW_GCC_DIR}")
endforeach()

# The archiver and its index of LLVM 16, which read the library's objects: they are LLVM 16
# bitcode, optimised as one at the link (CMakeLists.txt).
set(CMAKE_AR /usr/lib/llvm-16/bin/llvm-ar)
set(CMAKE_RANLIB /usr/lib/llvm-16/bin/llvm-ranlib)

