# Sanitizer builds for the test runs: -DQUILLON_SANITIZE=address,undefined or
# -DQUILLON_SANITIZE=thread (the two cannot share a build). The flags go into the
# directory-wide compiler and linker flags, so every target gets them, JUCE's
# module sources in quillon_juce included: a race or an overflow that passes
# through JUCE is only seen when JUCE is instrumented as well. Nothing recovers
# from a report in our code, so any finding ends the process with a failure.
set (QUILLON_SANITIZE "" CACHE STRING "Sanitizers for every target: empty, address,undefined or thread")
set_property (CACHE QUILLON_SANITIZE PROPERTY STRINGS "" "address,undefined" "thread")

if (QUILLON_SANITIZE)
    string (APPEND CMAKE_CXX_FLAGS " -fsanitize=${QUILLON_SANITIZE} -fno-sanitize-recover=all -fno-omit-frame-pointer")
    string (APPEND CMAKE_EXE_LINKER_FLAGS " -fsanitize=${QUILLON_SANITIZE}")
endif()

# UndefinedBehaviorSanitizer honours its suppressions only for checks it may
# recover from. JUCE's sources may, for scripts/sanitizers/ubsan.supp to apply
# to them; halt_on_error=1 at run time still ends the process on any other report.
# Called once quillon_juce exists.
function (quillon_let_juce_recover_from_undefined_behaviour)
    if (QUILLON_SANITIZE MATCHES "undefined")
        set_property (SOURCE ${QUILLON_JUCE_SOURCES} TARGET_DIRECTORY quillon_juce
                      APPEND PROPERTY COMPILE_OPTIONS -fsanitize-recover=undefined)
    endif()
endfunction()
