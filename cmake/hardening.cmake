# The protections a distribution builds its programs with, for the library and the programs alike:
# position-independent executables, stack protector and stack-clash checks, fortified C library
# calls, control-flow protection where the processor has it, and relocations read-only after
# start-up with every symbol bound at once. A protection the caller's own flags already choose, on
# or off, is left to them; sanitizer and fuzz builds keep their own flags.
include(CheckCXXCompilerFlag)
include(CheckPIESupported)

option(TAVREL_HARDEN "build with the hardening flags a distribution uses" ON)
if(NOT TAVREL_HARDEN OR TAVREL_SANITIZE OR TAVREL_FUZZ)
  return()
endif()

set(callerflags "${CMAKE_C_FLAGS} ${CMAKE_CXX_FLAGS} ${CMAKE_EXE_LINKER_FLAGS}")
foreach(config DEBUG RELEASE RELWITHDEBINFO MINSIZEREL)
  string(APPEND callerflags " ${CMAKE_C_FLAGS_${config}} ${CMAKE_CXX_FLAGS_${config}}"
                            " ${CMAKE_EXE_LINKER_FLAGS_${config}}")
endforeach()

if(NOT DEFINED CMAKE_POSITION_INDEPENDENT_CODE AND NOT callerflags MATCHES "no-pie|fno-pie|fno-PIE")
  check_pie_supported(LANGUAGES CXX)
  set(CMAKE_POSITION_INDEPENDENT_CODE ON)
endif()

# tavrel_harden(PATTERN FLAG): FLAG for every compilation, unless the caller's flags match PATTERN
# or the compiler does not take it for this processor
function(tavrel_harden pattern flag)
  if(callerflags MATCHES "${pattern}")
    return()
  endif()
  string(MAKE_C_IDENTIFIER "TAVREL_HAS${flag}" known)
  check_cxx_compiler_flag(${flag} ${known})
  if(${known})
    add_compile_options(${flag})
  endif()
endfunction()

tavrel_harden("stack-protector" -fstack-protector-strong)
tavrel_harden("stack-clash" -fstack-clash-protection)
tavrel_harden("cf-protection" -fcf-protection)              # x86: indirect-branch tracking
tavrel_harden("branch-protection" -mbranch-protection=standard)  # arm64: its equivalent
# the C library checks buffer sizes it can see, which it does only where the code is optimised:
# at level 3 where the C library and the compiler both have it, else at 2. A compiler that
# defines a level of its own (as some distributions' do) keeps it, as a second would be warned of
if(NOT callerflags MATCHES "_FORTIFY_SOURCE")
  include(CheckCXXSourceCompiles)
  # each check passes only when the thing asked for is there, so that a warning the caller's
  # flags give cannot be read as an answer
  set(CMAKE_REQUIRED_FLAGS -O2)
  set(CMAKE_REQUIRED_QUIET ON)
  check_cxx_source_compiles("
    #ifndef _FORTIFY_SOURCE
    #error the compiler chose no level
    #endif
    int main() { return 0; }" TAVREL_FORTIFY_COMPILERS)
  set(CMAKE_REQUIRED_DEFINITIONS -D_FORTIFY_SOURCE=3)
  check_cxx_source_compiles("
    #include <cstring>
    #if !defined(__USE_FORTIFY_LEVEL) || __USE_FORTIFY_LEVEL < 3
    #error no level 3 here
    #endif
    int main() { return 0; }" TAVREL_FORTIFY_3)
  unset(CMAKE_REQUIRED_DEFINITIONS)
  unset(CMAKE_REQUIRED_FLAGS)
  if(TAVREL_FORTIFY_3)
    set(level 3)
  else()
    set(level 2)
  endif()
  if(NOT TAVREL_FORTIFY_COMPILERS)
    add_compile_definitions(
      $<$<OR:$<CONFIG:Release>,$<CONFIG:RelWithDebInfo>,$<CONFIG:MinSizeRel>>:_FORTIFY_SOURCE=${level}>)
  endif()
endif()
if(NOT callerflags MATCHES "relro|-z,?now|-z,?lazy")
  add_link_options(LINKER:-z,relro,-z,now)
endif()
