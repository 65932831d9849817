# libFuzzer targets (fuzz/), in a build folder of their own made with clang:
#   cmake -S . -B build-fuzz -G Ninja -DQUILLON_FUZZ=ON -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
# All of quillon_core, JUCE included, is instrumented for coverage and checked by
# AddressSanitizer and UndefinedBehaviorSanitizer; scripts/fuzz builds and runs them.
option (QUILLON_FUZZ "Build the libFuzzer targets, with quillon_core under ASan and UBSan (clang only)" OFF)

if (NOT QUILLON_FUZZ)
    return()
endif()

if (NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message (FATAL_ERROR "QUILLON_FUZZ needs clang: configure with -DCMAKE_CXX_COMPILER=clang++")
endif()

# Undefined behaviour ends the run like a memory error does, so the fuzzer keeps the input.
set (QUILLON_SANITIZERS -fsanitize=address,undefined -fno-sanitize-recover=all)

target_compile_options (quillon_core PUBLIC
    -fsanitize=fuzzer-no-link ${QUILLON_SANITIZERS} -fno-omit-frame-pointer -g)
target_link_options (quillon_core INTERFACE ${QUILLON_SANITIZERS})

add_subdirectory (fuzz)
