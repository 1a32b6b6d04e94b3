# The WebAssembly build (configured with emcmake, `make web`): the game's libraries with the
# SSE2 kernels as WebAssembly SIMD, libjpeg-turbo built for wasm by scripts/web-jpeg.sh, and
# xxHash's header copied in (the emscripten sysroot holds none of Debian's headers).
set(VORNEL_WEB_JPEG "${CMAKE_BINARY_DIR}/jpeg" CACHE PATH "Where scripts/web-jpeg.sh built libjpeg-turbo for wasm")
if(NOT EXISTS "${VORNEL_WEB_JPEG}/install/lib/libjpeg.a")
  message(FATAL_ERROR "vornel: no libjpeg-turbo for wasm in ${VORNEL_WEB_JPEG}: run scripts/web-jpeg.sh ${VORNEL_WEB_JPEG}")
endif()
set(JPEG_INCLUDE_DIR "${VORNEL_WEB_JPEG}/install/include" CACHE PATH "" FORCE)
set(JPEG_LIBRARY "${VORNEL_WEB_JPEG}/install/lib/libjpeg.a" CACHE FILEPATH "" FORCE)

find_file(VORNEL_XXHASH_HEADER xxhash.h PATHS /usr/include NO_CMAKE_FIND_ROOT_PATH NO_DEFAULT_PATH REQUIRED)
file(COPY "${VORNEL_XXHASH_HEADER}" DESTINATION "${CMAKE_BINARY_DIR}/xxhash")
set(XXHASH_INCLUDE_DIR "${CMAKE_BINARY_DIR}/xxhash" CACHE PATH "" FORCE)

# The SSE2 kernels build for WebAssembly SIMD through emscripten's SSE2 headers; there is no
# AVX2 and no processor to ask. In the flags, not the compile options, so that the kernels'
# check of what the compiler targets sees them.
string(APPEND CMAKE_CXX_FLAGS " -msimd128 -msse2")
string(APPEND CMAKE_C_FLAGS " -msimd128 -msse2")
