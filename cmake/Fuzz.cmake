# libFuzzer targets (fuzz/), built in the AddressSanitizer and UndefinedBehaviorSanitizer
# build with clang, so that build is compiled once for the tests and the fuzzers:
#   cmake -S . -B build-asan -G Ninja -DQUILLON_SANITIZE=address,undefined -DQUILLON_FUZZ=ON
#         -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
# The libraries, JUCE included, are instrumented for coverage without taking libFuzzer's
# main; only the fuzz targets link it. scripts/fuzz builds and runs them.
if (NOT QUILLON_FUZZ)
    return()
endif()

if (NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message (FATAL_ERROR "QUILLON_FUZZ needs clang: configure with -DCMAKE_CXX_COMPILER=clang++")
endif()

if (NOT QUILLON_SANITIZE STREQUAL "address,undefined")
    message (FATAL_ERROR "QUILLON_FUZZ needs -DQUILLON_SANITIZE=address,undefined")
endif()

# The libraries that share the precompiled lower headers are instrumented where they
# take them (cmake/Program.cmake); JUCE here.
target_compile_options (quillon_juce PRIVATE -fsanitize=fuzzer-no-link)

add_subdirectory (fuzz)
