# quillon_program: everything the shipped program is made of, layer by layer from
# the bottom: what differs between the systems it runs on, the hand-over pieces, the
# catalogue, the device with its SysEx and its JUCE port backend, the wizard and the
# application. quillon itself is a thin entry point over it and links nothing else, so no simulator or test server can reach the
# program even by mistake.
add_library (quillon_program STATIC)

target_compile_definitions (quillon_program PUBLIC
    QUILLON_UPDATE_HOST="${QUILLON_UPDATE_HOST}"
    QUILLON_VERSION="${PROJECT_VERSION}")
target_include_directories (quillon_program PUBLIC "${PROJECT_SOURCE_DIR}")
target_link_libraries (quillon_program
    PUBLIC
        quillon_juce
    PRIVATE
        juce::juce_recommended_warning_flags)

# The targets file is read with expat: bounded, linear, and fuzzed upstream.
find_package (EXPAT REQUIRED)
target_link_libraries (quillon_program PRIVATE EXPAT::EXPAT)

# A catalogue's image digests are checked with libsodium's SHA-256.
pkg_check_modules (SODIUM REQUIRED IMPORTED_TARGET libsodium)
target_link_libraries (quillon_program PRIVATE PkgConfig::SODIUM)

# Each source folder lists its files with this, naming the library they belong to.
# Our own code must build without warnings.
function (quillon_add_sources library)
    target_sources (${library} PRIVATE ${ARGN})
    set_source_files_properties (${ARGN} TARGET_DIRECTORY ${library} PROPERTIES COMPILE_OPTIONS -Werror)
endfunction()

# What every layer includes is parsed once per library. The GUI is left out, so that
# a catalogue or device source that used it without including it would not compile.
function (quillon_precompile_lower_headers library)
    target_precompile_headers (${library} PRIVATE
        <juce_core/juce_core.h>
        <juce_events/juce_events.h>
        <juce_audio_devices/juce_audio_devices.h>)
endfunction()

quillon_precompile_lower_headers (quillon_program)

add_subdirectory (platform)
add_subdirectory (handover)
add_subdirectory (catalogue)
add_subdirectory (device)
add_subdirectory (flow)
add_subdirectory (wizard)
add_subdirectory (app)

# Thin entry points; they never link a juce:: module directly, which would compile
# JUCE a second time.
function (quillon_add_app target sourceFile library)
    juce_add_gui_app (${target}
        PRODUCT_NAME "${target}"
        VERSION "${PROJECT_VERSION}"
        COMPANY_NAME "Tesmar")
    target_sources (${target} PRIVATE ${sourceFile})
    target_link_libraries (${target} PRIVATE ${library})
    set_target_properties (${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY "${PROJECT_BINARY_DIR}/bin")
    set_source_files_properties (${sourceFile} PROPERTIES COMPILE_OPTIONS -Werror)
endfunction()

quillon_add_app (quillon app/Main.cpp quillon_program)

include (GNUInstallDirs)
install (TARGETS quillon RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}" COMPONENT program)
install (FILES app/icon/quillon.svg
         DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps" COMPONENT program)
install (FILES app/quillon.desktop DESTINATION "${CMAKE_INSTALL_DATADIR}/applications" COMPONENT program)
