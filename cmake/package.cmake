# What a driver team receives: `cmake --install BUILD --prefix DIR` and `cpack` (in BUILD) lay out
#   bin/dxdlg.dll
#   lib/dxdlg.lib            import library for link.exe and lld-link (short import format)
#   lib/libdxdlg.dll.a       import library for mingw-w64's linkers (mingw-w64 builds only)
#   include/dxdlg.h
#   share/dxdlg/dxdlg.def    exports with their ordinals
#   share/dxdlg/dxdlgConfig.cmake, dxdlgConfigVersion.cmake: find_package(dxdlg), dxdlg::dxdlg
include(CMakePackageConfigHelpers)

install(TARGETS dxdlg RUNTIME DESTINATION bin ARCHIVE DESTINATION lib)
if(DXDLG_MSVC_IMPORT_LIBRARY)
    install(FILES ${DXDLG_MSVC_IMPORT_LIBRARY} DESTINATION lib)
endif()
install(FILES include/dxdlg.h DESTINATION include)
install(FILES src/dxdlg.def DESTINATION share/dxdlg)

# The package takes its version from the project; a consumer of another pointer size is refused.
write_basic_package_version_file(${CMAKE_BINARY_DIR}/dxdlgConfigVersion.cmake
    COMPATIBILITY SameMajorVersion)
install(FILES cmake/dxdlgConfig.cmake ${CMAKE_BINARY_DIR}/dxdlgConfigVersion.cmake
    DESTINATION share/dxdlg)

set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME dxdlg)
set(CPACK_PACKAGE_VENDOR "dxdlg developers")
set(CPACK_PACKAGE_FILE_NAME dxdlg-${PROJECT_VERSION}-win64)
set(CPACK_SOURCE_GENERATOR "")
include(CPack)
