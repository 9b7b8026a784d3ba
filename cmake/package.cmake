# What a driver team receives, one package per architecture (dxdlg-VERSION-win64.zip and
# dxdlg-VERSION-win-arm64.zip): `cmake --install BUILD --prefix DIR` and `cpack` (in BUILD) lay out
#   bin/dxdlg.dll
#   lib/dxdlg.lib            import library for link.exe and lld-link (short import format)
#   lib/libdxdlg.dll.a       import library for mingw-w64's linkers (mingw-w64 builds only)
#   include/dxdlg.h
#   share/dxdlg/dxdlg.def    exports with their ordinals
#   share/dxdlg/dxdlgConfig.cmake, dxdlgConfigVersion.cmake: find_package(dxdlg), dxdlg::dxdlg;
#                            a project of the other architecture is refused when it configures
include(CMakePackageConfigHelpers)

install(TARGETS dxdlg RUNTIME DESTINATION bin ARCHIVE DESTINATION lib)
if(DXDLG_MSVC_IMPORT_LIBRARY)
    install(FILES ${DXDLG_MSVC_IMPORT_LIBRARY} DESTINATION lib)
endif()
install(FILES include/dxdlg.h DESTINATION include)
install(FILES src/dxdlg.def DESTINATION share/dxdlg)

# The package takes its version from the project; a consumer of another pointer size is refused
# by the version file, one of the other 64-bit architecture by dxdlgConfig.cmake.
configure_file(cmake/dxdlgConfig.cmake ${CMAKE_BINARY_DIR}/dxdlgConfig.cmake @ONLY)
write_basic_package_version_file(${CMAKE_BINARY_DIR}/dxdlgConfigVersion.cmake
    COMPATIBILITY SameMajorVersion)
install(FILES ${CMAKE_BINARY_DIR}/dxdlgConfig.cmake ${CMAKE_BINARY_DIR}/dxdlgConfigVersion.cmake
    DESTINATION share/dxdlg)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME dxdlg)
set(CPACK_PACKAGE_VENDOR "dxdlg developers")
set(CPACK_PACKAGE_FILE_NAME dxdlg-${PROJECT_VERSION}-${DXDLG_PACKAGE_SUFFIX})
set(CPACK_SOURCE_GENERATOR "")
include(CPack)
