# cpack -G DEB: one Debian package with the library, its headers and CMake and pkg-config
# files, zobar and the documents. Built from a shared build (the package preset) it depends on
# the runtime libraries dpkg-shlibdeps finds; from a static build it also needs the
# development packages a program linking the static library needs.
set(CPACK_PACKAGE_NAME zobtnbar)
set(CPACK_PACKAGE_VENDOR "The ZoBtnBar developers")
set(CPACK_PACKAGE_CONTACT "The ZoBtnBar developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
  "C++20 bar of group headers with buttons, on its own desktop platform")
set(CPACK_PACKAGE_DESCRIPTION
  "ZoBtnBar is a UI component library: a bar of group headers whose active group shows its buttons, with its own stand-in desktop platform (off-screen and X11). The package has the library, its headers, CMake and pkg-config files and the zobar program.")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
set(CPACK_RESOURCE_FILE_README ${PROJECT_SOURCE_DIR}/README.md)
set(CPACK_GENERATOR DEB)
set(CPACK_STRIP_FILES ON)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Text needs a scalable font that fontconfig can find.
set(ZO_DEB_DEPENDS "fonts-dejavu-core")
if(BUILD_SHARED_LIBS)
  set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
else()
  string(APPEND ZO_DEB_DEPENDS
    ", libfreetype-dev, libfontconfig-dev, libpng-dev, libx11-dev, libxext-dev, libsimdjson-dev")
endif()
set(CPACK_DEBIAN_PACKAGE_DEPENDS "${ZO_DEB_DEPENDS}")

include(CPack)
