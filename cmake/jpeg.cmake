# JPEG::JPEG for the core: libjpeg-turbo compiled from its Debian source
# (fetched by scripts/setup) into a static library, SIMD code included, in
# every preset, so Mirvo.scr stays one file and the host tests run the same
# library. Its system-dependent memory module (jmemnobs, which has no
# backing store) is taken out of the archive: the core brings its own
# (src/imaging/jpeg_memory.cpp), which keeps what does not fit the decoding
# budget in a scratch file (for arithmetic-coded files: the coefficients of
# Huffman-coded ones are decoded in bands, src/imaging/jpeg_bands.cpp).
set(ORVANDEL_JPEG_SOURCE ${PROJECT_SOURCE_DIR}/build/deps/libjpeg-turbo)
if(NOT EXISTS ${ORVANDEL_JPEG_SOURCE}/CMakeLists.txt)
  message(FATAL_ERROR "libjpeg-turbo's source is missing: run scripts/setup first")
endif()

include(ExternalProject)
set(jpeg_build ${CMAKE_BINARY_DIR}/deps/libjpeg-turbo)
if(CMAKE_TOOLCHAIN_FILE)
  set(jpeg_toolchain -DCMAKE_TOOLCHAIN_FILE=${CMAKE_TOOLCHAIN_FILE})
endif()
if(WIN32)
  set(jpeg_object_suffix .obj)
else()
  set(jpeg_object_suffix .o)
endif()
find_program(ORVANDEL_AR NAMES ${CMAKE_AR} ar REQUIRED)
ExternalProject_Add(libjpeg_turbo
  SOURCE_DIR ${ORVANDEL_JPEG_SOURCE}
  BINARY_DIR ${jpeg_build}
  CMAKE_ARGS
    ${jpeg_toolchain}
    -DCMAKE_BUILD_TYPE=Release
    -DCMAKE_POSITION_INDEPENDENT_CODE=ON
    -DENABLE_SHARED=OFF
    -DWITH_TURBOJPEG=OFF
    -DCMAKE_INSTALL_PREFIX=${jpeg_build}/unused
  # Whatever the generator: the build tool is asked through CMake.
  BUILD_COMMAND ${CMAKE_COMMAND} --build <BINARY_DIR> --target jpeg-static
    COMMAND ${ORVANDEL_AR} d <BINARY_DIR>/libjpeg.a jmemnobs.c${jpeg_object_suffix}
  INSTALL_COMMAND ""
  BUILD_BYPRODUCTS ${jpeg_build}/libjpeg.a)

# jconfig.h is generated into the build folder; the other headers (jmemsys.h
# among them) stay in the source.
file(MAKE_DIRECTORY ${jpeg_build})
add_library(JPEG::JPEG STATIC IMPORTED GLOBAL)
set_target_properties(JPEG::JPEG PROPERTIES
  IMPORTED_LOCATION ${jpeg_build}/libjpeg.a
  INTERFACE_INCLUDE_DIRECTORIES "${jpeg_build};${ORVANDEL_JPEG_SOURCE}")
add_dependencies(JPEG::JPEG libjpeg_turbo)
