# tarnctx_own_target: what every target of this project gets, written once.
#
#   tarnctx_own_target(TARGET [WIDE_MAIN] [UNDECORATED_EXPORTS])
#
# Always: the project's warnings (the caller's tarnctx_warnings), as errors.
# WIDE_MAIN: a program whose entry point is wmain, so that its arguments arrive in UTF-16, not the ANSI code page.
# UNDECORATED_EXPORTS: a library whose module-definition file names the exports; on 32-bit Windows the linker
# would otherwise keep their stdcall decoration (name@bytes).
function(tarnctx_own_target target)
  cmake_parse_arguments(PARSE_ARGV 1 own "WIDE_MAIN;UNDECORATED_EXPORTS" "" "")
  if(own_UNPARSED_ARGUMENTS)
    message(FATAL_ERROR "tarnctx_own_target: unknown arguments ${own_UNPARSED_ARGUMENTS}")
  endif()
  target_compile_options(${target} PRIVATE ${tarnctx_warnings})
  if(own_WIDE_MAIN)
    target_compile_options(${target} PRIVATE -municode)
    target_link_options(${target} PRIVATE -municode)
    # zig takes -municode but still starts a program at main: the ARM64 programs get a main that calls wmain.
    if(CMAKE_SYSTEM_PROCESSOR STREQUAL "ARM64")
      target_sources(${target} PRIVATE ${CMAKE_CURRENT_FUNCTION_LIST_DIR}/../tools/WideMain.cpp)
    endif()
  endif()
  if(own_UNDECORATED_EXPORTS AND CMAKE_SYSTEM_PROCESSOR STREQUAL "i686")
    target_link_options(${target} PRIVATE -Wl,--kill-at -Wl,--enable-stdcall-fixup)
  endif()
endfunction()
