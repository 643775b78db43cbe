# Included into libical's own project() when scripts/test-web builds it for WebAssembly.
# Emscripten's toolchain names its C++ compiler Clang even where a project enables C alone, and
# libical then probes C++ warning flags, which CMake refuses for a language not enabled.
enable_language(CXX)
