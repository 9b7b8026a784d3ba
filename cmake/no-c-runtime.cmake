# dxdlg.dll is linked without the C and C++ runtime, on every architecture and compiler: its code
# calls only Win32, and no frame of it reaches a page, so the compiler calls no stack probe. So it
# has an entry point of its own (DllMain: nothing runs before it), no static constructors or
# thread-local variables (nothing would run or set them up), and imports from KERNEL32, USER32,
# GDI32 and ADVAPI32 only. The tests, tools and benchmarks
# keep the normal runtime: they link dxdlg_static or load the DLL.
if(MSVC)
    # No default libraries and DllMain as the entry point. The stack probe (__chkstk), the
    # memset/memcpy that the compiler may emit for large structures, and the security cookie,
    # its check and the load configuration (cmake/hardening.cmake) exist only in the static
    # runtime's archives: they are named here so that the linker takes those members from them;
    # the DLL's entry point stays DllMain, which sets the cookie itself, so none of the runtime's
    # start-up code runs.
    target_link_options(dxdlg PRIVATE /NODEFAULTLIB /ENTRY:DllMain)
    target_link_libraries(dxdlg PRIVATE kernel32 user32 gdi32 advapi32 libcmt libvcruntime)
    return()
endif()

find_program(DXDLG_DLLTOOL NAMES llvm-dlltool-14 llvm-dlltool PATHS /usr/lib/llvm-14/bin REQUIRED)
find_program(DXDLG_READOBJ NAMES llvm-readobj-14 llvm-readobj PATHS /usr/lib/llvm-14/bin REQUIRED)
find_program(DXDLG_PDBUTIL NAMES llvm-pdbutil-14 llvm-pdbutil PATHS /usr/lib/llvm-14/bin REQUIRED)

# dxdlg_import_libraries(VAR TARGET DEF_DIR): import libraries made with llvm-dlltool from the
# NAME.def files of DEF_DIR (one per DLL), listed in VAR, made by the custom target TARGET.
function(dxdlg_import_libraries var target defDir)
    file(GLOB defs CONFIGURE_DEPENDS ${defDir}/*.def)
    set(libs)
    foreach(def ${defs})
        get_filename_component(dll ${def} NAME_WE)
        set(lib ${CMAKE_CURRENT_BINARY_DIR}/${target}/${dll}.lib)
        add_custom_command(OUTPUT ${lib}
            COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/${target}
            COMMAND ${DXDLG_DLLTOOL} -m ${DXDLG_DLLTOOL_MACHINE} -d ${def} -l ${lib}
            DEPENDS ${def}
            COMMENT "Import library ${target}/${dll}.lib")
        list(APPEND libs ${lib})
    endforeach()
    add_custom_target(${target} DEPENDS ${libs})
    set(${var} ${libs} PARENT_SCOPE)
endfunction()

# The import libraries of the four system DLLs, made from cmake/imports/*.def: the one list of
# the functions the library imports, for every architecture (mingw-w64 has no ARM64 import
# libraries on Debian).
dxdlg_import_libraries(DXDLG_SYSTEM_IMPORT_LIBRARIES dxdlg_system_imports ${CMAKE_SOURCE_DIR}/cmake/imports)
add_dependencies(dxdlg dxdlg_system_imports)
target_link_options(dxdlg PRIVATE -nostdlib -Wl,--entry=DllMain
    # clang says the runtime options that the toolchain passes to every link go unused here.
    $<$<CXX_COMPILER_ID:Clang>:-Wno-unused-command-line-argument>)
target_link_libraries(dxdlg PRIVATE ${DXDLG_SYSTEM_IMPORT_LIBRARIES})

# The build fails unless the DLL imports only the listed functions of the four system DLLs, has
# no TLS directory and exactly the exports of src/dxdlg.def, and its objects no static
# constructors or thread-local data; a build that ships, unless the DLL has every protection of
# cmake/hardening.cmake and its PDB a SHA-256 hash of every source. A stamp, so that a failed
# check is run again. MSVC builds are not checked (the return above).
if(DXDLG_HARDENED)
    set(DXDLG_SHIPPED_CHECK --shipped ${DXDLG_ARCH} ${PROJECT_VERSION_MAJOR}.${PROJECT_VERSION_MINOR})
endif()
set(DXDLG_CHECKED ${CMAKE_BINARY_DIR}/dxdlg-checked.stamp)
add_custom_command(OUTPUT ${DXDLG_CHECKED}
    COMMAND ${CMAKE_COMMAND} -E rm -f ${DXDLG_CHECKED}
    COMMAND env READOBJ=${DXDLG_READOBJ} PDBUTIL=${DXDLG_PDBUTIL} sh ${CMAKE_SOURCE_DIR}/cmake/check-dll.sh ${DXDLG_SHIPPED_CHECK}
        $<TARGET_FILE:dxdlg> ${CMAKE_SOURCE_DIR}/src/dxdlg.def ${CMAKE_SOURCE_DIR}/cmake/imports
        $<TARGET_OBJECTS:dxdlg_objects>
    COMMAND ${CMAKE_COMMAND} -E touch ${DXDLG_CHECKED}
    DEPENDS dxdlg ${CMAKE_SOURCE_DIR}/cmake/check-dll.sh
    COMMAND_EXPAND_LISTS
    COMMENT "Checking dxdlg.dll")
add_custom_target(dxdlg_check ALL DEPENDS ${DXDLG_CHECKED})
