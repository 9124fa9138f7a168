# Installation (cmake --install): the library, its public headers under include/zobtnbar/, the
# zobar program, the README and the licence, a CMake package that gives ZoBtnBar::zobtnbar and
# a pkg-config file. Components: Library (all a program needs to build against the library),
# Program (zobar) and Documents.
set(CMAKE_INSTALL_DOCDIR share/doc/zobtnbar CACHE PATH "Documentation (share/doc/zobtnbar)")
include(GNUInstallDirs)
include(CMakePackageConfigHelpers)

set(ZO_CMAKE_DIR ${CMAKE_INSTALL_LIBDIR}/cmake/ZoBtnBar)

# Installed sources include <zobtnbar/ZoBtnBar.h>; the headers include each other by their
# path below src/ ("core/Error.h"), which the second folder resolves.
target_include_directories(zobtnbar PUBLIC
  $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}>
  $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}/zobtnbar>)

install(TARGETS zobtnbar EXPORT ZoBtnBarTargets
  ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT Library
  LIBRARY DESTINATION ${CMAKE_INSTALL_LIBDIR} COMPONENT Library
  RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT Library)

# The public headers are the umbrella header and everything it includes, found when
# installing so that a header added to the API is installed without a change here.
install(CODE "
  set(ZO_HEADER_SOURCE \"${PROJECT_SOURCE_DIR}/src\")
  set(ZO_HEADER_DESTINATION \"\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_INCLUDEDIR}/zobtnbar\")
  include(\"${PROJECT_SOURCE_DIR}/cmake/InstallHeaders.cmake\")
" COMPONENT Library)

install(EXPORT ZoBtnBarTargets NAMESPACE ZoBtnBar:: DESTINATION ${ZO_CMAKE_DIR}
  COMPONENT Library)
if(BUILD_SHARED_LIBS)
  set(ZO_SHARED ON)
else()
  set(ZO_SHARED OFF)
endif()
configure_package_config_file(cmake/ZoBtnBarConfig.cmake.in
  ${PROJECT_BINARY_DIR}/ZoBtnBarConfig.cmake INSTALL_DESTINATION ${ZO_CMAKE_DIR})
# Before 1.0 a minor release may break the API, so 0.1 accepts 0.1.x only; from 1.0 on, any
# release of the same major version.
if(PROJECT_VERSION_MAJOR EQUAL 0)
  set(ZO_COMPATIBILITY SameMinorVersion)
else()
  set(ZO_COMPATIBILITY SameMajorVersion)
endif()
write_basic_package_version_file(${PROJECT_BINARY_DIR}/ZoBtnBarConfigVersion.cmake
  COMPATIBILITY ${ZO_COMPATIBILITY})
install(FILES ${PROJECT_BINARY_DIR}/ZoBtnBarConfig.cmake
  ${PROJECT_BINARY_DIR}/ZoBtnBarConfigVersion.cmake
  DESTINATION ${ZO_CMAKE_DIR} COMPONENT Library)

# pkg-config: the prefix is found from the file's own place, so an installed tree can move.
# Only a static library needs its dependencies on the program's link line.
file(RELATIVE_PATH ZO_PC_PREFIX /prefix/${CMAKE_INSTALL_LIBDIR}/pkgconfig /prefix)
string(REGEX REPLACE "/$" "" ZO_PC_PREFIX "\${pcfiledir}/${ZO_PC_PREFIX}")
if(BUILD_SHARED_LIBS)
  set(ZO_PC_REQUIRES_PRIVATE "")
  set(ZO_PC_LIBS_PRIVATE "")
else()
  set(ZO_PC_REQUIRES_PRIVATE "freetype2 fontconfig libpng x11 xext simdjson")
  set(ZO_PC_LIBS_PRIVATE "-lm")
endif()
configure_file(cmake/zobtnbar.pc.in ${PROJECT_BINARY_DIR}/zobtnbar.pc @ONLY)
install(FILES ${PROJECT_BINARY_DIR}/zobtnbar.pc
  DESTINATION ${CMAKE_INSTALL_LIBDIR}/pkgconfig COMPONENT Library)

# zobar finds a shared library that is installed beside it outside the system's folders.
install(TARGETS zobar RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} COMPONENT Program)
if(BUILD_SHARED_LIBS AND NOT CMAKE_INSTALL_FULL_LIBDIR IN_LIST
   CMAKE_CXX_IMPLICIT_LINK_DIRECTORIES)
  file(RELATIVE_PATH ZO_BIN_TO_LIB ${CMAKE_INSTALL_FULL_BINDIR} ${CMAKE_INSTALL_FULL_LIBDIR})
  set_target_properties(zobar PROPERTIES INSTALL_RPATH "$ORIGIN/${ZO_BIN_TO_LIB}")
endif()

install(FILES README.md LICENSE DESTINATION ${CMAKE_INSTALL_DOCDIR} COMPONENT Documents)
