# The protections that Windows gives a DLL that asks for them, for the builds that ship: clang 16
# and lld 16 on mingw-w64 (the "clang" and "arm64" presets, tools/package.sh) and MSVC:
#   - control-flow guard: indirect calls are checked against the table of the DLL's functions that
#     may be called indirectly;
#   - a stack cookie in the frame of every function with a local array, seeded by the loader;
#     an overwritten cookie ends the process (STATUS_STACK_BUFFER_OVERRUN);
#   - CET shadow-stack compatibility (x86-64), NX, ASLR with high-entropy addresses;
#   - symbols in dxdlg.pdb, which the DLL names without a folder, with a SHA-256 hash of each
#     source, which a debugger compares with the file it shows (MD5, clang's default, is refused
#     by Microsoft's binary rules);
#   - reproducible: the time stamps and the PDB's GUID are a hash of the DLL's content (/Brepro),
#     and nothing of the build's folders reaches the DLL or the PDB;
# gcc and GNU ld make neither the guard nor CET: the gcc build, which tests, goes without all of it.
# dxdlg_hardened_code: what the DLL's objects are compiled with. dxdlg_hardened_dll(TARGET): a DLL
# linked as dxdlg.dll is. DXDLG_HARDENED tells whether this build is one that ships.
add_library(dxdlg_hardened_code INTERFACE)
set(DXDLG_HARDENED OFF)
if(MSVC)
    # The static runtime provides the load configuration, the cookie and the guard's pointers; the
    # entry point calls __security_init_cookie (src/dllmain.cpp).
    # /Qspectre: the Spectre variant 1 barriers; /ZH:SHA_256: the sources' hashes in the PDB.
    target_compile_options(dxdlg_hardened_code INTERFACE /guard:cf /GS /Qspectre /Z7 /ZH:SHA_256 /Brepro)
    function(dxdlg_hardened_dll target)
        target_link_libraries(${target} PRIVATE dxdlg_hardened_code)
        target_link_options(${target} PRIVATE /guard:cf /DEBUG /PDBALTPATH:%_PDB% /Brepro
            /OPT:REF /OPT:ICF /DYNAMICBASE /HIGHENTROPYVA /NXCOMPAT
            $<$<STREQUAL:${DXDLG_ARCH},x64>:/CETCOMPAT>)
    endfunction()
    set(DXDLG_HARDENED ON)
    return()
endif()
if(NOT (CMAKE_CXX_COMPILER_ID STREQUAL "Clang" AND CMAKE_CXX_COMPILER_VERSION VERSION_GREATER_EQUAL 16))
    function(dxdlg_hardened_dll target)
    endfunction()
    return()
endif()
set(DXDLG_HARDENED ON)

# CodeView for the PDB, without the compiler's command line, with SHA-256 hashes of the sources
# (clang's default is MD5); the source and build folders appear in the PDB as "dxdlg" and "build".
target_compile_options(dxdlg_hardened_code INTERFACE $<$<COMPILE_LANGUAGE:C,CXX>:
    -mguard=cf -fstack-protector-strong -g -gcodeview -gno-codeview-command-line
    "SHELL:-Xclang -gsrc-hash=sha256"
    -ffile-prefix-map=${CMAKE_SOURCE_DIR}=dxdlg -ffile-prefix-map=${CMAKE_BINARY_DIR}=build
    -fdebug-compilation-dir=build>)

# The load configuration, the cookie, its failure routine and the guard's pointers, which a C
# runtime would provide.
if(DXDLG_ARCH STREQUAL "x64")
    enable_language(ASM)
    set(DXDLG_GUARD_DISPATCH src/runtime/guard-x64.S)
endif()
add_library(dxdlg_hardening OBJECT src/runtime/hardening.cpp ${DXDLG_GUARD_DISPATCH})
target_link_libraries(dxdlg_hardening PRIVATE dxdlg_library_code dxdlg_hardened_code)
# __fastfail is one of Microsoft's intrinsics. With clang the pieces are optimised with the
# library's code at the link (CMakeLists.txt), so that every function reaches the cookie's guard
# directly.
set_source_files_properties(src/runtime/hardening.cpp PROPERTIES COMPILE_OPTIONS
    "-fms-extensions;$<$<CXX_COMPILER_ID:Clang>:-flto>")

function(dxdlg_hardened_dll target)
    target_link_libraries(${target} PRIVATE dxdlg_hardened_code)
    target_sources(${target} PRIVATE $<TARGET_OBJECTS:dxdlg_hardening>)
    # The PDB beside the DLL (NAME.pdb); in the DLL its name without a folder. The guard's
    # pointers and the debug directory go with the read-only data, as link.exe places them,
    # rather than each in a section of its own (half a kilobyte each in the file).
    target_link_options(${target} PRIVATE -Wl,--guard-cf -Wl,--pdb=
        "-Wl,--Xlink=/pdbaltpath:%_PDB%" -Wl,--Xlink=/Brepro
        -Wl,--dynamicbase -Wl,--high-entropy-va -Wl,--nxcompat
        -Wl,--Xlink=/merge:.00cfg=.rdata -Wl,--Xlink=/merge:.buildid=.rdata
        # The image version: lld 16 ignores the --major-image-version that CMake passes.
        -Wl,--Xlink=/version:${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR}
        $<$<STREQUAL:${DXDLG_ARCH},x64>:-Wl,--Xlink=/cetcompat>)
endfunction()
