# Project-wide compile options live on one interface target that every target links.
add_library(talveron_options INTERFACE)
target_compile_features(talveron_options INTERFACE cxx_std_20)
set(CMAKE_CXX_EXTENSIONS OFF)
target_compile_options(talveron_options INTERFACE -Wall -Wextra -Wpedantic)
# GCC 12 reports -Wrestrict on inlined std::string concatenation at -O2 (GCC bug 105329), a false
# positive in the standard library's own code.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
  target_compile_options(talveron_options INTERFACE -Wno-restrict)
endif()
target_compile_definitions(talveron_options INTERFACE
  QT_NO_CONTEXTLESS_CONNECT QT_NO_CAST_FROM_ASCII QT_NO_NARROWING_CONVERSIONS_IN_CONNECT)

option(ENABLE_ASAN "Build with AddressSanitizer" OFF)
option(ENABLE_UBSAN "Build with UndefinedBehaviorSanitizer" OFF)
option(ENABLE_TSAN "Build with ThreadSanitizer" OFF)
if(ENABLE_ASAN)
  target_compile_options(talveron_options INTERFACE -fsanitize=address -fno-omit-frame-pointer)
  target_link_options(talveron_options INTERFACE -fsanitize=address)
endif()
if(ENABLE_UBSAN)
  target_compile_options(talveron_options INTERFACE -fsanitize=undefined -fno-sanitize-recover=undefined)
  target_link_options(talveron_options INTERFACE -fsanitize=undefined)
endif()
if(ENABLE_TSAN)
  target_compile_options(talveron_options INTERFACE -fsanitize=thread)
  target_link_options(talveron_options INTERFACE -fsanitize=thread)
endif()

# libFuzzer coverage for every target, so the fuzzers see the engine's branches. The fuzzer
# executables themselves are in fuzz/.
option(TALVERON_BUILD_FUZZERS "Build the libFuzzer targets (clang only)" OFF)
if(TALVERON_BUILD_FUZZERS)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "TALVERON_BUILD_FUZZERS needs clang (CMAKE_CXX_COMPILER=clang++)")
  endif()
  target_compile_options(talveron_options INTERFACE -fsanitize=fuzzer-no-link)
endif()
