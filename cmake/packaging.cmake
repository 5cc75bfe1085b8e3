# Debian packages (cpack -G DEB in the build directory): libdox<MAJOR> with the
# shared library, libdox-dev with everything needed to build against it.
set(CPACK_PACKAGE_NAME dox)
set(CPACK_PACKAGE_VENDOR "dox")
set(CPACK_PACKAGE_CONTACT "dox developers <dox@localhost>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY
    "Build Rich Text Format documents in memory through a plain C interface")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_COMPONENTS_ALL runtime devel)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_DEBIAN_RUNTIME_PACKAGE_NAME libdox${PROJECT_VERSION_MAJOR})
set(CPACK_DEBIAN_RUNTIME_PACKAGE_SECTION libs)
set(CPACK_DEBIAN_RUNTIME_PACKAGE_SHLIBDEPS ON)  # libc6, libstdc++6, libgcc-s1
set(CPACK_DEBIAN_DEVEL_PACKAGE_NAME libdox-dev)
set(CPACK_DEBIAN_DEVEL_PACKAGE_SECTION libdevel)
set(CPACK_DEBIAN_DEVEL_PACKAGE_SHLIBDEPS ON)  # doxrun
set(CPACK_DEBIAN_DEVEL_PACKAGE_DEPENDS
    "libdox${PROJECT_VERSION_MAJOR} (= ${PROJECT_VERSION}), libstdc++-dev")
set(CPACK_COMPONENT_RUNTIME_DESCRIPTION "dox: the shared library")
set(CPACK_COMPONENT_DEVEL_DESCRIPTION
    "dox: header, static library, CMake and pkg-config files, and the doxrun script runner")
include(CPack)
