# Finds Debian's cpp-httplib (libcpp-httplib-dev), which ships a pkg-config file but no CMake
# package. Defines the imported target CppHttplib::CppHttplib.
find_package(PkgConfig QUIET)
if(PkgConfig_FOUND)
  pkg_check_modules(PC_CPPHTTPLIB QUIET cpp-httplib)
endif()
find_path(CppHttplib_INCLUDE_DIR httplib.h HINTS ${PC_CPPHTTPLIB_INCLUDE_DIRS})
find_library(CppHttplib_LIBRARY cpp-httplib HINTS ${PC_CPPHTTPLIB_LIBRARY_DIRS})

include(FindPackageHandleStandardArgs)
find_package_handle_standard_args(CppHttplib REQUIRED_VARS CppHttplib_LIBRARY CppHttplib_INCLUDE_DIR
                                  VERSION_VAR PC_CPPHTTPLIB_VERSION)
if(CppHttplib_FOUND AND NOT TARGET CppHttplib::CppHttplib)
  find_package(Threads REQUIRED)
  add_library(CppHttplib::CppHttplib UNKNOWN IMPORTED)
  set_target_properties(CppHttplib::CppHttplib PROPERTIES
    IMPORTED_LOCATION "${CppHttplib_LIBRARY}"
    INTERFACE_INCLUDE_DIRECTORIES "${CppHttplib_INCLUDE_DIR}"
    # The library was built with these; the header must see the same configuration.
    INTERFACE_COMPILE_DEFINITIONS "CPPHTTPLIB_OPENSSL_SUPPORT;CPPHTTPLIB_ZLIB_SUPPORT;CPPHTTPLIB_BROTLI_SUPPORT"
    INTERFACE_LINK_LIBRARIES Threads::Threads)
endif()
mark_as_advanced(CppHttplib_INCLUDE_DIR CppHttplib_LIBRARY)
