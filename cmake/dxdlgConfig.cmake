# find_package(dxdlg) for a program that links to dxdlg.dll by import library:
#   find_package(dxdlg 1.1 REQUIRED)
#   target_link_libraries(app PRIVATE dxdlg::dxdlg)
# dxdlg::dxdlg carries the header's folder, the import library for the consumer's linker and
# the DLL itself (IMPORTED_LOCATION; $<TARGET_RUNTIME_DLLS:app> lists it for copying).
# The package holds the DLL of one architecture; a project of the other is refused here, when it
# configures, rather than by its linker.
set(_dxdlg_architecture "@DXDLG_ARCH@")
if(CMAKE_C_COMPILER_ARCHITECTURE_ID)
    set(_dxdlg_project "${CMAKE_C_COMPILER_ARCHITECTURE_ID}")
elseif(CMAKE_CXX_COMPILER_ARCHITECTURE_ID)
    set(_dxdlg_project "${CMAKE_CXX_COMPILER_ARCHITECTURE_ID}")
else()
    set(_dxdlg_project "${CMAKE_SYSTEM_PROCESSOR}")
endif()
string(TOLOWER "${_dxdlg_project}" _dxdlg_project)
if(_dxdlg_project MATCHES "^(x86_64|amd64|x64)$")
    set(_dxdlg_project x64)
elseif(_dxdlg_project MATCHES "^(aarch64|arm64)$")
    set(_dxdlg_project arm64)
endif()
if(NOT _dxdlg_project STREQUAL _dxdlg_architecture)
    set(dxdlg_FOUND FALSE)
    set(dxdlg_NOT_FOUND_MESSAGE "this dxdlg package (${CMAKE_CURRENT_LIST_DIR}) holds the ${_dxdlg_architecture} DLL, but the project builds for ${_dxdlg_project}: use the package for ${_dxdlg_project}")
    unset(_dxdlg_architecture)
    unset(_dxdlg_project)
    return()
endif()
unset(_dxdlg_architecture)
unset(_dxdlg_project)

get_filename_component(_dxdlg_prefix "${CMAKE_CURRENT_LIST_DIR}/../.." ABSOLUTE)

if(NOT TARGET dxdlg::dxdlg)
    # link.exe needs the short import format of dxdlg.lib; mingw-w64's linkers read either.
    if(NOT MSVC AND EXISTS "${_dxdlg_prefix}/lib/libdxdlg.dll.a")
        set(_dxdlg_import_library "${_dxdlg_prefix}/lib/libdxdlg.dll.a")
    else()
        set(_dxdlg_import_library "${_dxdlg_prefix}/lib/dxdlg.lib")
    endif()
    add_library(dxdlg::dxdlg SHARED IMPORTED)
    set_target_properties(dxdlg::dxdlg PROPERTIES
        IMPORTED_LOCATION "${_dxdlg_prefix}/bin/dxdlg.dll"
        IMPORTED_IMPLIB "${_dxdlg_import_library}"
        INTERFACE_INCLUDE_DIRECTORIES "${_dxdlg_prefix}/include")
    unset(_dxdlg_import_library)
endif()
unset(_dxdlg_prefix)
