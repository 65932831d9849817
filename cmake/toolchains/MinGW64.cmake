# Cross-compiling for 64-bit Windows with Debian's MinGW-w64 (the posix thread model,
# which std::thread and std::mutex need). Libraries for the target are looked up only
# under the prefix scripts/windows-deps fills, never in the host's /usr.
set (CMAKE_SYSTEM_NAME Windows)
set (CMAKE_SYSTEM_PROCESSOR x86_64)

set (QUILLON_MINGW_TRIPLET x86_64-w64-mingw32)
set (CMAKE_C_COMPILER ${QUILLON_MINGW_TRIPLET}-gcc-posix)
set (CMAKE_CXX_COMPILER ${QUILLON_MINGW_TRIPLET}-g++-posix)
set (CMAKE_RC_COMPILER ${QUILLON_MINGW_TRIPLET}-windres)

if (NOT QUILLON_WINDOWS_DEPS)
    set (QUILLON_WINDOWS_DEPS "$ENV{QUILLON_WINDOWS_DEPS}")
endif()

set (CMAKE_FIND_ROOT_PATH /usr/${QUILLON_MINGW_TRIPLET} ${QUILLON_WINDOWS_DEPS})
set (CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set (CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set (CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set (CMAKE_FIND_ROOT_PATH_MODE_PACKAGE BOTH)

# The tool the build runs on what it makes (the demo's catalogue is signed with the
# vendor's tool) goes through Wine, in a Wine prefix of the build folder's own, quietly
# and without offering to install Mono or Gecko.
set (CMAKE_CROSSCOMPILING_EMULATOR
     env WINEPREFIX=${CMAKE_BINARY_DIR}/wine WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml= wine)

# pkg-config answers for the target's libraries only. The test projects CMake makes
# while it configures read this file again, and must not undo that.
list (APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES QUILLON_WINDOWS_DEPS)

if (QUILLON_WINDOWS_DEPS)
    set (ENV{PKG_CONFIG_LIBDIR} "${QUILLON_WINDOWS_DEPS}/lib/pkgconfig")
    set (ENV{PKG_CONFIG_PATH} "")
endif()

# The C and C++ runtimes and winpthreads are linked in, so the programs need no MinGW
# DLL beside them.
set (CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# JUCE's modules are sources, compiled for the target; its CMake support is the build
# machine's, from Debian's juce-modules-source.
file (GLOB JUCE_DIR LIST_DIRECTORIES true /usr/lib/*-linux-gnu/cmake/JUCE-*)
