# quillon_cli: the command-line client, over the program's own library and nothing
# else. quillon-cli is a thin entry point over it; in a full build its entry point
# also offers the demo's world behind --demo, which the program-only build leaves out.
add_library (quillon_cli STATIC)
target_link_libraries (quillon_cli
    PUBLIC
        quillon_program
    PRIVATE
        juce::juce_recommended_warning_flags)
quillon_precompile_lower_headers (quillon_cli)

add_subdirectory (cli)

if (QUILLON_PROGRAM_ONLY)
    add_executable (quillon-cli cli/Main.cpp)
    target_link_libraries (quillon-cli PRIVATE quillon_cli)
else()
    add_executable (quillon-cli demo/CliMain.cpp)
    target_link_libraries (quillon-cli PRIVATE quillon_cli quillon_demo)
endif()

target_compile_options (quillon-cli PRIVATE -Werror)
set_target_properties (quillon-cli PROPERTIES RUNTIME_OUTPUT_DIRECTORY "${PROJECT_BINARY_DIR}/bin")

install (TARGETS quillon-cli RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}" COMPONENT program)

# The man page's header names the release it describes.
configure_file (cli/quillon-cli.1.in quillon-cli.1 @ONLY)
install (FILES "${CMAKE_CURRENT_BINARY_DIR}/quillon-cli.1" DESTINATION "${CMAKE_INSTALL_MANDIR}/man1" COMPONENT program)
