# quillon_tools: the vendor's command-line tools, over the program's own catalogue
# code so that what they write is what the program accepts. Built in every
# configuration, the program alone included: a vendor needs them without the test kit.
add_library (quillon_tools STATIC)
target_link_libraries (quillon_tools
    PUBLIC
        quillon_program
    PRIVATE
        juce::juce_recommended_warning_flags
        EXPAT::EXPAT)

add_subdirectory (tools/catalogue)

# A plain executable: it needs no window, and its entry point links the library only.
add_executable (quillon-catalogue tools/catalogue/Main.cpp)
target_link_libraries (quillon-catalogue PRIVATE quillon_tools)
set_target_properties (quillon-catalogue PROPERTIES RUNTIME_OUTPUT_DIRECTORY "${PROJECT_BINARY_DIR}/bin")
set_source_files_properties (tools/catalogue/Main.cpp PROPERTIES COMPILE_OPTIONS -Werror)

# The vendor's tool is a component of its own, so the users' package leaves it out.
install (TARGETS quillon-catalogue RUNTIME DESTINATION "${CMAKE_INSTALL_BINDIR}" COMPONENT vendor)
