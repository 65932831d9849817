# Debian's JUCE, compiled once per build folder into quillon_juce, with every setting
# in one place: all executables share that one build of the modules, so they must all
# see exactly the same configuration. Nothing else links a juce:: module directly,
# which would compile JUCE a second time.
find_package (JUCE CONFIG REQUIRED)

add_library (quillon_juce_config INTERFACE)
target_compile_definitions (quillon_juce_config INTERFACE
    JUCE_STANDALONE_APPLICATION=1
    JUCE_MODAL_LOOPS_PERMITTED=1
    JUCE_USE_CURL=1
    JUCE_WEB_BROWSER=0
    JUCE_STRICT_REFCOUNTEDPOINTER=1
    JUCE_DISPLAY_SPLASH_SCREEN=0
    JUCE_REPORT_APP_USAGE=0
    JUCE_USE_XSHM=1
    JUCE_GLOBAL_MODULE_SETTINGS_INCLUDED=1)

set (QUILLON_JUCE_MODULES
    juce_core
    juce_events
    juce_data_structures
    juce_graphics
    juce_gui_basics
    juce_audio_basics
    juce_audio_devices)

add_library (quillon_juce STATIC)

foreach (module IN LISTS QUILLON_JUCE_MODULES)
    target_link_libraries (quillon_juce PRIVATE juce::${module})
    target_compile_definitions (quillon_juce PUBLIC JUCE_MODULE_AVAILABLE_${module}=1)
endforeach()

target_include_directories (quillon_juce PUBLIC "${JUCE_MODULES_DIR}")

target_link_libraries (quillon_juce
    PUBLIC
        quillon_juce_config
        juce::juce_recommended_config_flags)

# Debian's JUCE has its bundled zlib, libpng and libjpeg removed, so they come from the
# system: Debian's packages on Linux, scripts/windows-deps' cross-built copies for Windows.
if (WIN32)
    set (ZLIB_USE_STATIC_LIBS ON)
    find_package (ZLIB REQUIRED)
    find_package (PkgConfig REQUIRED)
    pkg_check_modules (QUILLON_WINDOWS_IMAGES REQUIRED IMPORTED_TARGET libpng libjpeg)
    target_link_libraries (quillon_juce PUBLIC PkgConfig::QUILLON_WINDOWS_IMAGES ZLIB::ZLIB)
else()
    target_link_libraries (quillon_juce
        PUBLIC
            juce::pkgconfig_JUCE_CURL_LINUX_DEPS
            juce::pkgconfig_JUCE_IMG_LINUX_DEPS)
endif()

# Their warnings are JUCE's to fix, so they are silenced here and only here.
set (QUILLON_JUCE_SOURCES "")

foreach (module IN LISTS QUILLON_JUCE_MODULES)
    file (GLOB moduleSources "${JUCE_MODULES_DIR}/${module}/${module}*.cpp")
    list (APPEND QUILLON_JUCE_SOURCES ${moduleSources})
endforeach()

set (juceSourceOptions -w)

# MinGW's assembler runs out of sections in juce_gui_basics without the big object format.
if (MINGW)
    list (APPEND juceSourceOptions -Wa,-mbig-obj)
endif()

set_source_files_properties (${QUILLON_JUCE_SOURCES} TARGET_DIRECTORY quillon_juce PROPERTIES COMPILE_OPTIONS "${juceSourceOptions}")
# Time::getCompilationDate reads __DATE__ and __TIME__.
quillon_compile_with_source_date ("${JUCE_MODULES_DIR}/juce_core/juce_core.cpp")
quillon_let_juce_recover_from_undefined_behaviour()
