# quillon-cli: a thin entry point over the client's layer (quillon_cli, made with the
# others in cmake/Program.cmake); in a full build its entry point also offers the demo's
# world behind --demo, which the program-only build, the one that is packaged, leaves out.

# target, entry point, output folder, further libraries...
function (quillon_add_cli target mainSource outputFolder)
    add_executable (${target} ${mainSource})
    target_link_libraries (${target} PRIVATE quillon_cli ${ARGN})
    target_compile_options (${target} PRIVATE -Werror)
    set_target_properties (${target} PROPERTIES OUTPUT_NAME quillon-cli RUNTIME_OUTPUT_DIRECTORY "${outputFolder}")
endfunction()

if (QUILLON_PROGRAM_ONLY)
    quillon_add_cli (quillon-cli cli/Main.cpp "${PROJECT_BINARY_DIR}/bin")
    quillon_check_shipped (quillon-cli)
else()
    quillon_add_cli (quillon-cli demo/CliMain.cpp "${PROJECT_BINARY_DIR}/bin" quillon_demo)
endif()

# Windows' package comes from the build that has the demo as well, so there the users'
# client, without the demo, is made beside it, in a folder of its own.
if (WIN32 AND NOT QUILLON_PROGRAM_ONLY)
    quillon_add_cli (quillon-cli-program cli/Main.cpp "${PROJECT_BINARY_DIR}/bin/program")
    quillon_check_shipped (quillon-cli-program)
endif()

install (TARGETS quillon-cli RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}" COMPONENT program)

# The man page's header names the release it describes.
configure_file (cli/quillon-cli.1.in quillon-cli.1 @ONLY)
install (FILES "${CMAKE_CURRENT_BINARY_DIR}/quillon-cli.1" DESTINATION "${CMAKE_INSTALL_MANDIR}/man1" COMPONENT program)
