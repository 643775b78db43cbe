# Cross-compiles for 64-bit Windows with Debian's MinGW-w64 compiler (the posix-threads flavour,
# package g++-mingw-w64-x86-64-posix):
#   cmake -S . -B build-windows -G Ninja \
#         -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DVESSORY_BUILD_GUI=OFF
# The programs are linked statically (libgcc, libstdc++, winpthread), so each .exe runs alone on
# a Windows machine or under Wine without any MinGW DLL beside it.

set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(VESSORY_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${VESSORY_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VESSORY_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${VESSORY_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${VESSORY_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# Tests run under Wine when it is installed; add_test() puts the emulator in front by itself.
if(NOT CMAKE_CROSSCOMPILING_EMULATOR)
  find_program(VESSORY_WINE NAMES wine wine64)
  if(VESSORY_WINE)
    set(CMAKE_CROSSCOMPILING_EMULATOR ${VESSORY_WINE})
  endif()
endif()
