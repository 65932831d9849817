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

# Tools the build runs on the programs it makes go through Wine.
set (CMAKE_CROSSCOMPILING_EMULATOR wine)

# pkg-config answers for the target's libraries only.
set (ENV{PKG_CONFIG_LIBDIR} "${QUILLON_WINDOWS_DEPS}/lib/pkgconfig")
set (ENV{PKG_CONFIG_PATH} "")
