# srt_test(NAME SOURCES... [LIBS ...] [WIN32_ONLY] [NATIVE_ONLY] [ENV VAR=VALUE...])
# A GoogleTest executable, run by ctest (under Wine in the win32 build, on the
# page heap).
function(srt_test name)
  cmake_parse_arguments(T "WIN32_ONLY;NATIVE_ONLY" "" "SOURCES;LIBS;ENV" ${ARGN})
  if(SRT_FUZZ)
    return()
  endif()
  if(T_WIN32_ONLY AND NOT SRT_WIN32)
    return()
  endif()
  if(T_NATIVE_ONLY AND SRT_WIN32)
    return()
  endif()
  add_executable(${name} ${T_SOURCES} ${T_UNPARSED_ARGUMENTS})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest_main GTest::gmock)
  target_compile_definitions(${name} PRIVATE SRT_SOURCE_DIR="${SRT_ROOT}"
                                             SRT_CORPUS_DIR="${SRT_CORPUS_DIR}")
  add_test(NAME ${name} COMMAND ${name})
  if(T_ENV)
    set_property(TEST ${name} APPEND PROPERTY ENVIRONMENT ${T_ENV})
  endif()
  if(SRT_WIN32)
    # Every Windows test allocates from the page heap (tests/support), so a
    # use-after-free or an overrun faults at once.
    target_link_libraries(${name} PRIVATE srt_pageheap)
    # The project's own Wine prefix, created once by the wine_prefix fixture.
    set_property(TEST ${name} APPEND PROPERTY ENVIRONMENT ${SRT_WINE_ENV})
    set_property(TEST ${name} APPEND PROPERTY FIXTURES_REQUIRED wine_prefix)
  endif()
endfunction()

# srt_bench(NAME SOURCES... [LIBS ...]): a benchmark program that prints its
# figures; native builds only, never run by ctest.
function(srt_bench name)
  cmake_parse_arguments(B "" "" "SOURCES;LIBS" ${ARGN})
  if(SRT_WIN32 OR SRT_FUZZ)
    return()
  endif()
  add_executable(${name} ${B_SOURCES} ${B_UNPARSED_ARGUMENTS})
  target_link_libraries(${name} PRIVATE ${B_LIBS})
endfunction()

# srt_fuzzer(NAME SOURCES... LIBS ...): a libFuzzer target, built only with SRT_FUZZ.
function(srt_fuzzer name)
  cmake_parse_arguments(F "" "" "SOURCES;LIBS" ${ARGN})
  if(NOT SRT_FUZZ OR SRT_WIN32)
    return()
  endif()
  add_executable(${name} ${F_SOURCES} ${F_UNPARSED_ARGUMENTS})
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_libraries(${name} PRIVATE ${F_LIBS})
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
endfunction()
