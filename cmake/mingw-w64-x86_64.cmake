# Cross-building the Windows programs (64-bit) on Debian with g++-mingw-w64-x86-64:
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=Release
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TAMBLOR_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${TAMBLOR_MINGW_PREFIX}-gcc)
set(CMAKE_CXX_COMPILER ${TAMBLOR_MINGW_PREFIX}-g++)
set(CMAKE_RC_COMPILER ${TAMBLOR_MINGW_PREFIX}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${TAMBLOR_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Linked statically: the programs need no DLL beyond the system's own (the C++ and GCC
# runtimes are inside each .exe).
set(CMAKE_EXE_LINKER_FLAGS_INIT -static)
# Programs built here can be run on this machine through Wine.
set(CMAKE_CROSSCOMPILING_EMULATOR wine)
