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

# target, entry point, output folder, further libraries...
function (quillon_add_cli target mainSource outputFolder)
    add_executable (${target} ${mainSource})
    target_link_libraries (${target} PRIVATE quillon_cli ${ARGN})
    target_compile_options (${target} PRIVATE -Werror)
    set_target_properties (${target} PROPERTIES OUTPUT_NAME quillon-cli RUNTIME_OUTPUT_DIRECTORY "${outputFolder}")
endfunction()

if (QUILLON_PROGRAM_ONLY)
    quillon_add_cli (quillon-cli cli/Main.cpp "${PROJECT_BINARY_DIR}/bin")
else()
    quillon_add_cli (quillon-cli demo/CliMain.cpp "${PROJECT_BINARY_DIR}/bin" quillon_demo)
endif()

# Windows' package comes from the build that has the demo as well, so there the users'
# client, without the demo, is made beside it, in a folder of its own.
if (WIN32 AND NOT QUILLON_PROGRAM_ONLY)
    quillon_add_cli (quillon-cli-program cli/Main.cpp "${PROJECT_BINARY_DIR}/bin/program")
endif()

install (TARGETS quillon-cli RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}" COMPONENT program)

# The man page's header names the release it describes.
configure_file (cli/quillon-cli.1.in quillon-cli.1 @ONLY)
install (FILES "${CMAKE_CURRENT_BINARY_DIR}/quillon-cli.1" DESTINATION "${CMAKE_INSTALL_MANDIR}/man1" COMPONENT program)
