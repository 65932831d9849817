# quillon_core: the JUCE modules and all program code, compiled once. The app,
# the demo, the tests and the benchmarks are thin entry points over it.
add_library (quillon_core STATIC)

foreach (module IN LISTS QUILLON_JUCE_MODULES)
    target_link_libraries (quillon_core PRIVATE juce::${module})
    target_compile_definitions (quillon_core PUBLIC JUCE_MODULE_AVAILABLE_${module}=1)
endforeach()

target_compile_definitions (quillon_core PUBLIC
    JUCE_GLOBAL_MODULE_SETTINGS_INCLUDED=1
    QUILLON_UPDATE_HOST="${QUILLON_UPDATE_HOST}")

target_include_directories (quillon_core PUBLIC
    "${JUCE_MODULES_DIR}"
    "${PROJECT_SOURCE_DIR}")

target_link_libraries (quillon_core
    PUBLIC
        quillon_juce_config
        juce::juce_recommended_config_flags
        juce::juce_recommended_warning_flags
        juce::pkgconfig_JUCE_CURL_LINUX_DEPS
        juce::pkgconfig_JUCE_IMG_LINUX_DEPS)

# The targets file is read with expat: bounded, linear, and fuzzed upstream.
find_package (EXPAT REQUIRED)
target_link_libraries (quillon_core PRIVATE EXPAT::EXPAT)

# Each source folder lists its files with this. Our own code must build without
# warnings; JUCE's sources share the target but are not ours to fix.
function (quillon_add_sources)
    target_sources (quillon_core PRIVATE ${ARGN})
    set_source_files_properties (${ARGN} TARGET_DIRECTORY quillon_core
                                 PROPERTIES COMPILE_OPTIONS -Werror)
endfunction()

add_subdirectory (app)
add_subdirectory (wizard)
add_subdirectory (handover)
add_subdirectory (catalogue)
add_subdirectory (device)
add_subdirectory (sim)
add_subdirectory (server)
add_subdirectory (demo)

# JUCE's module sources are compiled into quillon_core with our flags; their
# warnings are JUCE's to fix, so they are silenced there and only there.
foreach (module IN LISTS QUILLON_JUCE_MODULES)
    file (GLOB moduleSources "${JUCE_MODULES_DIR}/${module}/${module}*.cpp")
    set_source_files_properties (${moduleSources} TARGET_DIRECTORY quillon_core PROPERTIES COMPILE_OPTIONS -w)
endforeach()
