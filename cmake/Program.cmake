# The program's layers, one static library each (cmake/layers.txt, cmake/Layers.cmake),
# from the bottom: what differs between the systems it runs on, the hand-over pieces,
# the catalogue, the device with its SysEx and its JUCE port backend, the update flow,
# then the wizard and the command-line client side by side, the application over the
# wizard, and the vendor's tools over the catalogue. quillon is a thin entry point over
# the application's library, so no simulator or test server can reach the program even
# by mistake.
include (cmake/Layers.cmake)
quillon_read_layers ("${PROJECT_SOURCE_DIR}/cmake/layers.txt")
quillon_add_layer_libraries ("${PROJECT_SOURCE_DIR}")

# Each source folder lists its files with this, naming the library they belong to.
# Our own code must build without warnings.
function (quillon_add_sources library)
    target_sources (${library} PRIVATE ${ARGN})
    set_source_files_properties (${ARGN} TARGET_DIRECTORY ${library} PROPERTIES COMPILE_OPTIONS -Werror)
endfunction()

# What every layer includes is parsed once per build folder, by the lowest layer, and
# every other library that includes it takes that one; a compiler takes it only from a
# compilation with the same flags, so in the fuzz build they are all instrumented. The
# GUI is left out, so that a catalogue or device source that used it without including
# it would not compile.
function (quillon_precompile_lower_headers library)
    if (QUILLON_FUZZ)
        target_compile_options (${library} PRIVATE -fsanitize=fuzzer-no-link)
    endif()

    list (GET QUILLON_LAYERS 0 lowest)

    if (library STREQUAL "quillon_${lowest}")
        target_precompile_headers (${library} PRIVATE
            <juce_core/juce_core.h>
            <juce_events/juce_events.h>
            <juce_audio_devices/juce_audio_devices.h>)
    else()
        target_precompile_headers (${library} REUSE_FROM quillon_${lowest})
    endif()
endfunction()

foreach (layer IN LISTS QUILLON_LAYERS)
    target_link_libraries (quillon_${layer}
        PUBLIC
            quillon_juce
        PRIVATE
            juce::juce_recommended_warning_flags)
    quillon_precompile_lower_headers (quillon_${layer})
endforeach()

target_compile_definitions (quillon_catalogue PUBLIC QUILLON_UPDATE_HOST="${QUILLON_UPDATE_HOST}")
target_compile_definitions (quillon_cli PUBLIC QUILLON_VERSION="${PROJECT_VERSION}")
target_compile_definitions (quillon_app PUBLIC QUILLON_VERSION="${PROJECT_VERSION}")

# The targets file is read with expat: bounded, linear, and fuzzed upstream.
find_package (EXPAT REQUIRED)
target_link_libraries (quillon_catalogue PRIVATE EXPAT::EXPAT)
target_link_libraries (quillon_tools PRIVATE EXPAT::EXPAT)

# A catalogue's image digests are checked with libsodium's SHA-256.
pkg_check_modules (SODIUM REQUIRED IMPORTED_TARGET libsodium)
target_link_libraries (quillon_catalogue PRIVATE PkgConfig::SODIUM)

foreach (layer IN LISTS QUILLON_LAYERS)
    add_subdirectory (${layer})
endforeach()

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

quillon_add_app (quillon app/Main.cpp quillon_app)

# What users get links nothing but the program's layers; checked once every link is
# known. A deferred call reads its arguments' variables when it runs, so the name goes
# in as text.
function (quillon_check_shipped target)
    cmake_language (EVAL CODE
        "cmake_language (DEFER DIRECTORY [[${PROJECT_SOURCE_DIR}]] CALL quillon_check_links_only_layers [[${target}]])")
endfunction()

quillon_check_shipped (quillon)

include (GNUInstallDirs)
install (TARGETS quillon RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}" COMPONENT program)
install (FILES app/icon/quillon.svg
         DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps" COMPONENT program)
install (FILES app/quillon.desktop DESTINATION "${CMAKE_INSTALL_DATADIR}/applications" COMPONENT program)
