# quillon_testkit: the world the tests, the demo, the benchmarks and the fuzzers put
# the program in: virtual MIDI ports, simulated devices, the loopback HTTP server and
# the update server's generated content. Never linked by quillon.
# It sees the whole source tree: scripts/check-layers keeps its folders apart.
add_library (quillon_testkit STATIC)
target_include_directories (quillon_testkit PUBLIC "${PROJECT_SOURCE_DIR}")
target_link_libraries (quillon_testkit
    PUBLIC
        quillon_device
    PRIVATE
        juce::juce_recommended_warning_flags)
quillon_precompile_lower_headers (quillon_testkit)

# A Windows build made here runs its tool during the build, and its demo, under Wine,
# which sees this machine's root as drive Z:; the paths they are given say so.
if (WIN32 AND CMAKE_HOST_UNIX)
    set (QUILLON_BUILD_DRIVE "Z:")
else()
    set (QUILLON_BUILD_DRIVE "")
endif()

add_subdirectory (sim)
add_subdirectory (server)

# The demo: the wizard driven through the test kit's world, on screen.
add_library (quillon_demo STATIC)
target_link_libraries (quillon_demo
    PUBLIC
        quillon_testkit
        quillon_app
        quillon_cli
    PRIVATE
        juce::juce_recommended_warning_flags)
quillon_precompile_lower_headers (quillon_demo)

add_subdirectory (demo)

quillon_add_app (quillon-demo demo/Main.cpp quillon_demo)
