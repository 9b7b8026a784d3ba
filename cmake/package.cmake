# What a driver team receives, one package per architecture (dxdlg-VERSION-win64.zip and
# dxdlg-VERSION-win-arm64.zip): `cmake --install BUILD --prefix DIR` and `cpack` (in BUILD) lay out
#   bin/dxdlg.dll
#   lib/dxdlg.lib            import library for link.exe and lld-link (short import format)
#   lib/libdxdlg.dll.a       import library for mingw-w64's linkers (mingw-w64 builds only)
#   include/dxdlg.h
#   share/dxdlg/dxdlg.def    exports with their ordinals
#   share/dxdlg/LICENSE      the MIT licence, whose notice goes with every copy
#   share/dxdlg/dxdlgConfig.cmake, dxdlgConfigVersion.cmake: find_package(dxdlg), dxdlg::dxdlg;
#                            a project of the other architecture passes over this package
#   bin/dxdlg.pdb            the DLL's symbols (builds that ship, cmake/hardening.cmake)
# tools/package.sh writes the release's ZIPs from this layout.
include(CMakePackageConfigHelpers)

install(TARGETS dxdlg RUNTIME DESTINATION bin ARCHIVE DESTINATION lib)
if(MSVC)
    install(FILES $<TARGET_PDB_FILE:dxdlg> DESTINATION bin)
elseif(DXDLG_HARDENED)
    install(FILES $<TARGET_FILE_DIR:dxdlg>/dxdlg.pdb DESTINATION bin)
endif()
if(DXDLG_MSVC_IMPORT_LIBRARY)
    install(FILES ${DXDLG_MSVC_IMPORT_LIBRARY} DESTINATION lib)
endif()
install(FILES include/dxdlg.h DESTINATION include)
install(FILES src/dxdlg.def LICENSE DESTINATION share/dxdlg)

# The package takes its version from the project; the version file passes over it for a project
# of another architecture (cmake/dxdlgConfigVersion.cmake), then checks the version.
configure_file(cmake/dxdlgConfig.cmake ${CMAKE_BINARY_DIR}/dxdlgConfig.cmake @ONLY)
write_basic_package_version_file(${CMAKE_BINARY_DIR}/dxdlgConfigVersionOnly.cmake
    COMPATIBILITY SameMajorVersion)
configure_file(cmake/dxdlgConfigVersion.cmake ${CMAKE_BINARY_DIR}/dxdlgConfigVersionArchitecture.cmake @ONLY)
file(READ ${CMAKE_BINARY_DIR}/dxdlgConfigVersionArchitecture.cmake DXDLG_VERSION_FILE)
file(READ ${CMAKE_BINARY_DIR}/dxdlgConfigVersionOnly.cmake DXDLG_VERSION_CHECK)
file(CONFIGURE OUTPUT ${CMAKE_BINARY_DIR}/dxdlgConfigVersion.cmake
    CONTENT "${DXDLG_VERSION_FILE}${DXDLG_VERSION_CHECK}" @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/dxdlgConfig.cmake ${CMAKE_BINARY_DIR}/dxdlgConfigVersion.cmake
    DESTINATION share/dxdlg)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME dxdlg)
set(CPACK_PACKAGE_VENDOR "dxdlg developers")
set(CPACK_PACKAGE_FILE_NAME dxdlg-${PROJECT_VERSION}-${DXDLG_PACKAGE_SUFFIX})
set(CPACK_SOURCE_GENERATOR "")
include(CPack)
