# find_package(dxdlg) for a program that links to dxdlg.dll by import library:
#   find_package(dxdlg 1.1 REQUIRED)
#   target_link_libraries(app PRIVATE dxdlg::dxdlg)
# dxdlg::dxdlg carries the header's folder, the import library for the consumer's linker and
# the DLL itself (IMPORTED_LOCATION; $<TARGET_RUNTIME_DLLS:app> lists it for copying).
# The package holds the DLL of one architecture: dxdlgConfigVersion.cmake passes over it for a
# project of another, so that find_package goes on to the package of the project's architecture.

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
