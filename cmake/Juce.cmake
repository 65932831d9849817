# Debian's JUCE, with every setting in one place: all executables share one build
# of the modules, so they must all see exactly the same configuration.
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
    JUCE_USE_XSHM=1)

set (QUILLON_JUCE_MODULES
    juce_core
    juce_events
    juce_data_structures
    juce_graphics
    juce_gui_basics
    juce_audio_basics
    juce_audio_devices)
