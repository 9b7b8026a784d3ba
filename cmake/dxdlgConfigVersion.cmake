# find_package(dxdlg) reads this first: a package that holds the DLL of another architecture than
# the project's is unsuitable, so that CMake goes on to the next package on the prefix path (a
# driver team may have the packages of both architectures there). When none suits, CMake lists
# each with its PACKAGE_VERSION, which then names both architectures. The version check follows
# (SameMajorVersion).
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
    set(PACKAGE_VERSION "@PROJECT_VERSION@ (holds the ${_dxdlg_architecture} DLL, but the project builds for ${_dxdlg_project}: use the package for ${_dxdlg_project})")
    set(PACKAGE_VERSION_UNSUITABLE TRUE)
    return()
endif()

