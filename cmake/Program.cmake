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

# Software centres match the metainfo to the desktop entry by the application's id, a
# reverse domain name of the vendor's (whose hyphen AppStream spells as an underscore).
set (QUILLON_APP_ID com.tesmar_audio.quillon)
install (FILES app/${QUILLON_APP_ID}.desktop DESTINATION "${CMAKE_INSTALL_DATADIR}/applications" COMPONENT program)

# The metainfo's screenshots are docs/images as the vendor publishes them; software
# centres fetch them from there. Inside an XML text, so nothing that XML would read
# as markup gets in.
set (QUILLON_SCREENSHOT_BASE_URL "" CACHE STRING
     "Where the vendor publishes docs/images, ending in /; empty: https://<QUILLON_UPDATE_HOST>/quillon/screenshots/")
set (QUILLON_SCREENSHOTS_URL "${QUILLON_SCREENSHOT_BASE_URL}")

if (QUILLON_SCREENSHOTS_URL STREQUAL "")
    set (QUILLON_SCREENSHOTS_URL "https://${QUILLON_UPDATE_HOST}/quillon/screenshots/")
endif()

if (NOT QUILLON_SCREENSHOTS_URL MATCHES "^https://[A-Za-z0-9._~:/@+,;=%-]+/$")
    message (FATAL_ERROR "QUILLON_SCREENSHOT_BASE_URL must be an https address ending in /, "
                         "without quotes, spaces, & or angle brackets: '${QUILLON_SCREENSHOTS_URL}'")
endif()

# The release's date is the commit's when SOURCE_DATE_EPOCH names it, as the packaging
# scripts do, so that two builds of one commit install the same file.
string (TIMESTAMP QUILLON_RELEASE_DATE "%Y-%m-%d" UTC)
configure_file (packaging/debian/${QUILLON_APP_ID}.metainfo.xml.in ${QUILLON_APP_ID}.metainfo.xml @ONLY)
install (FILES "${PROJECT_BINARY_DIR}/${QUILLON_APP_ID}.metainfo.xml"
         DESTINATION "${CMAKE_INSTALL_DATADIR}/metainfo" COMPONENT program)

# The man page names the release and the update server it describes.
configure_file (app/quillon.1.in quillon.1 @ONLY)
install (FILES "${PROJECT_BINARY_DIR}/quillon.1" DESTINATION "${CMAKE_INSTALL_MANDIR}/man1" COMPONENT program)
