# quillon-catalogue, the vendor's tool, over the tools' layer (quillon_tools, made
# with the others in cmake/Program.cmake), which builds on the program's own catalogue
# code so that what it writes is what the program accepts. Built in every
# configuration, the program alone included: a vendor needs it without the test kit.
# A plain executable: it needs no window, and its entry point links the library only.
add_executable (quillon-catalogue tools/catalogue/Main.cpp)
target_link_libraries (quillon-catalogue PRIVATE quillon_tools)
set_target_properties (quillon-catalogue PROPERTIES RUNTIME_OUTPUT_DIRECTORY "${PROJECT_BINARY_DIR}/bin")
set_source_files_properties (tools/catalogue/Main.cpp PROPERTIES COMPILE_OPTIONS -Werror)
quillon_check_shipped (quillon-catalogue)

# The vendor's tool is a component of its own, so the users' package leaves it out.
install (TARGETS quillon-catalogue RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}" COMPONENT vendor)
