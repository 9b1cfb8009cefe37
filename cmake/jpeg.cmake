# JPEG::JPEG for the core. The host build uses Debian's libjpeg-turbo; the
# Windows build compiles the same version from its Debian source (fetched by
# scripts/setup) into a static library, SIMD code included, so Mirvo.scr
# stays one file.
if(NOT WIN32)
  find_package(JPEG REQUIRED)
  return()
endif()

set(ORVANDEL_JPEG_SOURCE ${PROJECT_SOURCE_DIR}/build/deps/libjpeg-turbo)
if(NOT EXISTS ${ORVANDEL_JPEG_SOURCE}/CMakeLists.txt)
  message(FATAL_ERROR "libjpeg-turbo's source is missing: run scripts/setup first")
endif()

include(ExternalProject)
set(jpeg_build ${CMAKE_BINARY_DIR}/deps/libjpeg-turbo)
ExternalProject_Add(libjpeg_turbo
  SOURCE_DIR ${ORVANDEL_JPEG_SOURCE}
  BINARY_DIR ${jpeg_build}
  CMAKE_ARGS
    -DCMAKE_TOOLCHAIN_FILE=${CMAKE_TOOLCHAIN_FILE}
    -DCMAKE_BUILD_TYPE=Release
    -DENABLE_SHARED=OFF
    -DWITH_TURBOJPEG=OFF
    -DCMAKE_INSTALL_PREFIX=${jpeg_build}/unused
  # Whatever the generator: the build tool is asked through CMake.
  BUILD_COMMAND ${CMAKE_COMMAND} --build <BINARY_DIR> --target jpeg-static
  INSTALL_COMMAND ""
  BUILD_BYPRODUCTS ${jpeg_build}/libjpeg.a)

# jconfig.h is generated into the build folder; the other headers stay in
# the source.
file(MAKE_DIRECTORY ${jpeg_build})
add_library(JPEG::JPEG STATIC IMPORTED GLOBAL)
set_target_properties(JPEG::JPEG PROPERTIES
  IMPORTED_LOCATION ${jpeg_build}/libjpeg.a
  INTERFACE_INCLUDE_DIRECTORIES "${jpeg_build};${ORVANDEL_JPEG_SOURCE}")
add_dependencies(JPEG::JPEG libjpeg_turbo)
