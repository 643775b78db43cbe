# The WebAssembly build (emcmake cmake ...): the core libraries, the console tool for Node
# (vessory-export.js and its wrapper vessory-export) and the web page's module (vessory-core.js
# and .wasm, src/web). scripts/test-web drives it. No window, no tests, benchmarks or packaging:
# the tests run in the native build, and the shared kits run against the Node console tool.
set(VESSORY_BUILD_GUI OFF CACHE BOOL "No window in the WebAssembly build" FORCE)
set(VESSORY_BUILD_TESTS OFF CACHE BOOL "The tests run in the native build" FORCE)
set(VESSORY_BUILD_BENCH OFF CACHE BOOL "" FORCE)
set(VESSORY_BUILD_FUZZ OFF CACHE BOOL "" FORCE)

# The command line's parser reports a usage error by throwing, and catches it in the same file:
# that file is built to catch exceptions as in the native build (emscripten leaves them uncaught
# by default, which would end the tool instead); the rest is not, which would slow every call.
add_link_options(-sDISABLE_EXCEPTION_CATCHING=0)

# The JavaScript the C++ of this build calls, for every program.
add_link_options("--js-library=${PROJECT_SOURCE_DIR}/src/web/web_library.js")
