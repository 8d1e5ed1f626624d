# Third-party libraries for the Windows (MinGW) build, built static into the build tree from the
# distribution's own sources, never committed:
#   zlib       libz-mingw-w64-dev's static libz.a, named by full path (a plain -lz would pick the
#              import library and make every program need a zlib DLL);
#   libpng     compiled here from the upstream tarball of Debian's libpng1.6 source package;
#   libsndfile built by its own CMake from Debian's libsndfile source, built-in formats only;
#   GoogleTest from /usr/src/googletest, without pthreads (MinGW's gtest port has no use for it).
# Each becomes the imported target the rest of the tree already links (ZLIB::ZLIB, PNG::PNG,
# SndFile::sndfile, GTest::gtest…), and find_package() of it is redirected here. CLI11 is
# header-only and taken from the build machine's libcli11-dev.

include(ExternalProject)

set(tavo_third_party ${CMAKE_BINARY_DIR}/third-party)
set(tavo_sources_cache ${CMAKE_SOURCE_DIR}/build)
file(MAKE_DIRECTORY ${tavo_third_party})

# find_package(<name>) in any folder answers from a config file written here.
function(tavo_redirect_package name)
  string(TOLOWER ${name} file)
  file(WRITE ${CMAKE_FIND_PACKAGE_REDIRECTS_DIR}/${file}-config.cmake "set(${name}_FOUND TRUE)\n")
endfunction()

# The upstream tarball of a Debian source package, fetched once and checked (see the script).
function(tavo_debian_source out package folder)
  execute_process(
    COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/fetch-debian-source.sh ${package}
            ${tavo_sources_cache}/${folder} ${ARGN}
    RESULT_VARIABLE status
    OUTPUT_VARIABLE tarball
    ERROR_VARIABLE errors
    OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT status EQUAL 0)
    message(FATAL_ERROR "The Windows build needs ${package}'s source: ${errors}")
  endif()
  set(${out} ${tarball} PARENT_SCOPE)
endfunction()

function(tavo_extract tarball dir)
  if(NOT EXISTS ${dir}/.extracted)
    file(REMOVE_RECURSE ${dir})
    file(MAKE_DIRECTORY ${dir})
    execute_process(COMMAND tar -xf ${tarball} -C ${dir} --strip-components=1
                    RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
      message(FATAL_ERROR "Extracting ${tarball} failed")
    endif()
    file(TOUCH ${dir}/.extracted)
  endif()
endfunction()

# ---- zlib ----
set(tavo_zlib_root /usr/${TAVO_MINGW_TRIPLET})
if(NOT EXISTS ${tavo_zlib_root}/lib/libz.a)
  message(FATAL_ERROR "${tavo_zlib_root}/lib/libz.a is missing: install libz-mingw-w64-dev")
endif()
add_library(ZLIB::ZLIB STATIC IMPORTED GLOBAL)
set_target_properties(ZLIB::ZLIB PROPERTIES IMPORTED_LOCATION ${tavo_zlib_root}/lib/libz.a
                      INTERFACE_INCLUDE_DIRECTORIES ${tavo_zlib_root}/include)
tavo_redirect_package(ZLIB)

# ---- libpng ----
# The libpng source is the one the native build's conformance test reads too; its prebuilt
# configuration header is the library's default feature set.
# The same folder as the native build's conformance test, so the tarball is fetched once.
tavo_debian_source(libpng_tarball libpng1.6 libpng-source)
# Beyond the archive's own signed hashes, the release this was built and tested with is pinned.
set(libpng_known_sha256_1.6.39 a00e9d2f2f664186e4202db9299397f851aea71b36a35e74910b8820e380d441)
string(REGEX MATCH "_([0-9.]+)\\.orig\\.tar" libpng_release "${libpng_tarball}")
if(DEFINED libpng_known_sha256_${CMAKE_MATCH_1})
  set(expected ${libpng_known_sha256_${CMAKE_MATCH_1}})
  file(SHA256 ${libpng_tarball} actual)
  if(NOT actual STREQUAL expected)
    message(FATAL_ERROR "${libpng_tarball}: sha256 ${actual}, expected ${expected}")
  endif()
  message(STATUS "libpng ${CMAKE_MATCH_1}: sha256 ${actual} as pinned")
endif()
set(libpng_dir ${tavo_third_party}/libpng)
tavo_extract(${libpng_tarball} ${libpng_dir})
configure_file(${libpng_dir}/scripts/pnglibconf.h.prebuilt ${libpng_dir}/pnglibconf.h COPYONLY)
set(libpng_sources)
foreach(unit png pngerror pngget pngmem pngpread pngread pngrio pngrtran pngrutil pngset
             pngtrans pngwio pngwrite pngwtran pngwutil)
  list(APPEND libpng_sources ${libpng_dir}/${unit}.c)
endforeach()
add_library(tavo_libpng STATIC ${libpng_sources})
target_include_directories(tavo_libpng SYSTEM PUBLIC ${libpng_dir})
target_link_libraries(tavo_libpng PUBLIC ZLIB::ZLIB)
target_compile_options(tavo_libpng PRIVATE -w)
add_library(PNG::PNG ALIAS tavo_libpng)
tavo_redirect_package(PNG)

# ---- libsndfile ----
tavo_debian_source(sndfile_tarball libsndfile libsndfile-source)
set(sndfile_dir ${tavo_third_party}/libsndfile)
set(sndfile_install ${tavo_third_party}/libsndfile-install)
tavo_extract(${sndfile_tarball} ${sndfile_dir})
file(MAKE_DIRECTORY ${sndfile_install}/include)
ExternalProject_Add(
  tavo_libsndfile_build
  SOURCE_DIR ${sndfile_dir}
  BINARY_DIR ${tavo_third_party}/libsndfile-build
  INSTALL_DIR ${sndfile_install}
  CMAKE_ARGS -DCMAKE_TOOLCHAIN_FILE=${CMAKE_TOOLCHAIN_FILE}
             -DCMAKE_BUILD_TYPE=Release
             -DCMAKE_INSTALL_PREFIX=<INSTALL_DIR>
             -DCMAKE_INSTALL_LIBDIR=lib
             -DBUILD_SHARED_LIBS=OFF
             -DENABLE_EXTERNAL_LIBS=OFF
             -DENABLE_MPEG=OFF
             -DBUILD_PROGRAMS=OFF
             -DBUILD_EXAMPLES=OFF
             -DBUILD_TESTING=OFF
             -DENABLE_CPACK=OFF
             -DENABLE_PACKAGE_CONFIG=OFF
             -DINSTALL_PKGCONFIG_MODULE=OFF
             -DINSTALL_MANPAGES=OFF
  BUILD_BYPRODUCTS ${sndfile_install}/lib/libsndfile.a)
add_library(SndFile::sndfile STATIC IMPORTED GLOBAL)
set_target_properties(SndFile::sndfile PROPERTIES
                      IMPORTED_LOCATION ${sndfile_install}/lib/libsndfile.a
                      INTERFACE_INCLUDE_DIRECTORIES ${sndfile_install}/include)
add_dependencies(SndFile::sndfile tavo_libsndfile_build)

# ---- CLI11 ----
# Header-only: its folder of the build machine's headers, seen through a folder of its own (the
# rest of /usr/include is the build machine's C library, which must not reach MinGW).
if(NOT EXISTS /usr/include/CLI/CLI.hpp)
  message(FATAL_ERROR "/usr/include/CLI/CLI.hpp is missing: install libcli11-dev")
endif()
file(MAKE_DIRECTORY ${tavo_third_party}/cli11-include)
file(CREATE_LINK /usr/include/CLI ${tavo_third_party}/cli11-include/CLI SYMBOLIC)
add_library(CLI11::CLI11 INTERFACE IMPORTED GLOBAL)
set_target_properties(CLI11::CLI11 PROPERTIES INTERFACE_INCLUDE_DIRECTORIES
                                              ${tavo_third_party}/cli11-include)
tavo_redirect_package(CLI11)

# ---- GoogleTest ----
if(NOT TAVO_FUZZ AND NOT CMAKE_BUILD_TYPE STREQUAL "Release")
  set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest ${tavo_third_party}/googletest EXCLUDE_FROM_ALL SYSTEM)
  tavo_redirect_package(GTest)
endif()
