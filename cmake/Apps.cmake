# Thin entry points over quillon_core. They never link a juce:: module directly,
# which would compile JUCE a second time.
function (quillon_add_app target sourceFile)
    juce_add_gui_app (${target}
        PRODUCT_NAME "${target}"
        VERSION "${PROJECT_VERSION}"
        COMPANY_NAME "Tesmar")
    target_sources (${target} PRIVATE ${sourceFile})
    target_link_libraries (${target} PRIVATE quillon_core)
    set_target_properties (${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY "${PROJECT_BINARY_DIR}/bin")
    set_source_files_properties (${sourceFile} PROPERTIES COMPILE_OPTIONS -Werror)
endfunction()

quillon_add_app (quillon app/Main.cpp)
quillon_add_app (quillon-demo demo/Main.cpp)

include (GNUInstallDirs)
install (PROGRAMS "$<TARGET_FILE:quillon>" DESTINATION "${CMAKE_INSTALL_BINDIR}")
install (FILES app/icon/quillon.svg
         DESTINATION "${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps")
install (FILES app/quillon.desktop DESTINATION "${CMAKE_INSTALL_DATADIR}/applications")
