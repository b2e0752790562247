# The hardening flags Debian builds its packages with (dpkg-buildflags with hardening=+all), since
# Talveron reads files sent in by others: stack protector, format-string checks, a read-only
# relocation table resolved at start, position-independent executables, and fortified C library
# calls. _FORTIFY_SOURCE works only with optimisation, and the sanitizers' interceptors miss some
# of the checked variants it substitutes for library calls, so Debug, sanitizer and fuzzer builds
# go without it.
option(TALVERON_HARDENING "Build with the hardening flags of Debian packages" ON)
if(NOT TALVERON_HARDENING)
  return()
endif()

include(CheckPIESupported)
check_pie_supported(LANGUAGES CXX)
set(CMAKE_POSITION_INDEPENDENT_CODE ON)
target_compile_options(talveron_options INTERFACE
  -fstack-protector-strong -Wformat -Werror=format-security)
target_link_options(talveron_options INTERFACE LINKER:-z,relro LINKER:-z,now)
if(NOT (ENABLE_ASAN OR ENABLE_UBSAN OR ENABLE_TSAN OR TALVERON_BUILD_FUZZERS))
  target_compile_definitions(talveron_options INTERFACE
    $<$<CONFIG:Release,RelWithDebInfo,MinSizeRel>:_FORTIFY_SOURCE=2>)
endif()
