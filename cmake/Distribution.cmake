# What users install: the program-only build that is packaged for Debian and the Windows
# build. Their binaries carry full debug information, which the packaging scripts move
# into symbol files of their own, so that a crash report from a user can be read; they
# name no folder of the machine that built them, so that two builds of one commit give
# the same bytes wherever they were made; and on Linux they are hardened as Debian
# hardens its own packages. Set before any target, so that JUCE is built the same way.
option (QUILLON_DISTRIBUTION "Build what users install: debug information to keep apart, no build paths, hardening" OFF)

if (QUILLON_DISTRIBUTION)
    # The last map that matches wins, and the build folder may lie inside the sources.
    # The debug information records no compiler switches: the compiler cache adds one
    # (-fpch-preprocess) to what it compiles, which a build without the cache lacks.
    add_compile_options (-g -gno-record-gcc-switches
                         "-ffile-prefix-map=${PROJECT_SOURCE_DIR}=."
                         "-ffile-prefix-map=${PROJECT_BINARY_DIR}=build")
    # The cross-built libraries' headers, wherever their folder lies, go by the name
    # scripts/windows-deps gives their own sources.
    if (QUILLON_WINDOWS_DEPS)
        add_compile_options ("-ffile-prefix-map=${QUILLON_WINDOWS_DEPS}=windows-deps")
    endif()

    if (WIN32)
        # The linker would otherwise stamp each executable with the time it was linked.
        add_link_options (LINKER:--no-insert-timestamp)
    else()
        add_compile_options (-fstack-protector-strong -fstack-clash-protection -fcf-protection)
        add_compile_definitions (_FORTIFY_SOURCE=2)
        add_link_options (LINKER:-z,relro LINKER:-z,now)
    endif()
endif()

# GCC takes __DATE__ and __TIME__ from SOURCE_DATE_EPOCH, which neither Ninja nor the
# compiler cache sees: a source that reads them would keep the time of whichever build
# compiled it first (a build of another commit, or one run without the epoch, as the
# test key's). Given to those sources as a definition, the epoch recompiles them when
# it changes and is part of their cache key.
function (quillon_compile_with_source_date)
    if (QUILLON_DISTRIBUTION)
        set_property (SOURCE ${ARGN} APPEND PROPERTY COMPILE_DEFINITIONS "QUILLON_SOURCE_DATE_EPOCH=$ENV{SOURCE_DATE_EPOCH}")
    endif()
endfunction()
