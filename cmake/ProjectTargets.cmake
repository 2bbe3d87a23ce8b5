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

# srt_dpi_test(TEST TARGET DPI [ARGS...]): runs the test program TARGET (an
# srt_test) once more, as TEST, in the Wine prefix whose screen has DPI dots
# per inch (120, 144 or 192: build/wine-dpiDPI, copied from build/wine by
# the wine_prefix_dpiDPI fixture), with SRT_TEST_DPI=DPI in its environment.
# Its wineserver starts on demand; srt_stop_session stops it.
function(srt_dpi_test name target dpi)
  if(NOT SRT_WIN32 OR SRT_FUZZ OR NOT TARGET ${target})
    return()
  endif()
  set(env ${SRT_WINE_ENV})
  list(TRANSFORM env REPLACE "^WINEPREFIX=.*" "WINEPREFIX=${SRT_ROOT}/build/wine-dpi${dpi}")
  add_test(NAME ${name} COMMAND ${target} ${ARGN})
  set_tests_properties(${name} PROPERTIES ENVIRONMENT "${env};SRT_TEST_DPI=${dpi}"
                       FIXTURES_REQUIRED wine_prefix_dpi${dpi})
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

# srt_release_strip(TARGET): in release builds (SRT_RELEASE), moves the
# program's debug information into PROGRAM.debug beside it, strips the
# program and leaves it a debug link naming that file.
function(srt_release_strip target)
  if(NOT SRT_RELEASE)
    return()
  endif()
  add_custom_command(TARGET ${target} POST_BUILD
    COMMAND ${CMAKE_OBJCOPY} --only-keep-debug $<TARGET_FILE_NAME:${target}> $<TARGET_FILE_NAME:${target}>.debug
    COMMAND ${CMAKE_STRIP} --strip-all $<TARGET_FILE_NAME:${target}>
    COMMAND ${CMAKE_OBJCOPY} --add-gnu-debuglink=$<TARGET_FILE_NAME:${target}>.debug $<TARGET_FILE_NAME:${target}>
    WORKING_DIRECTORY $<TARGET_FILE_DIR:${target}>
    VERBATIM)
endfunction()

# srt_version_resource(OUTPUT FILE_NAME DESCRIPTION): writes OUTPUT, the
# VERSIONINFO resource of the executable FILE_NAME, for an .rc file to
# include. The numbers come from the project's VERSION.
function(srt_version_resource output file_name description)
  set(SRT_RC_FILE_NAME ${file_name})
  set(SRT_RC_DESCRIPTION ${description})
  configure_file(${SRT_ROOT}/resources/version.rc.in ${output} @ONLY)
endfunction()

# srt_windows_resources(TARGET RC [DEPENDS files...]): compiles the resource
# script RC with windres (include path: RC's folder) and links it into TARGET.
function(srt_windows_resources target rc)
  cmake_parse_arguments(R "" "" "DEPENDS" ${ARGN})
  get_filename_component(name ${rc} NAME_WE)
  get_filename_component(folder ${rc} DIRECTORY)
  set(object ${CMAKE_CURRENT_BINARY_DIR}/${name}.res.o)
  add_custom_command(OUTPUT ${object}
    COMMAND ${CMAKE_RC_COMPILER} -I${folder} -i ${rc} -o ${object}
    DEPENDS ${rc} ${R_DEPENDS}
    COMMENT "Compiling the resources of ${target}"
    VERBATIM)
  set_source_files_properties(${object} PROPERTIES EXTERNAL_OBJECT TRUE GENERATED TRUE)
  target_sources(${target} PRIVATE ${object})
endfunction()

# srt_corpus_test(TEST FILTER): the cases of a test program that read the
# shared corpus, as a test of their own (TEST_corpus) that shows as skipped
# when the corpus is missing (the cases fail under CI=true instead); the
# program's own test runs the other cases.
function(srt_corpus_test name filter)
  if(NOT TEST ${name})
    return()
  endif()
  set_property(TEST ${name} APPEND PROPERTY ENVIRONMENT "GTEST_FILTER=-${filter}")
  add_test(NAME ${name}_corpus COMMAND ${name} --gtest_filter=${filter})
  get_test_property(${name} ENVIRONMENT env)
  list(REMOVE_ITEM env "GTEST_FILTER=-${filter}")
  if(env)
    set_tests_properties(${name}_corpus PROPERTIES ENVIRONMENT "${env}")
  endif()
  get_test_property(${name} FIXTURES_REQUIRED fixtures)
  if(fixtures)
    set_tests_properties(${name}_corpus PROPERTIES FIXTURES_REQUIRED "${fixtures}")
  endif()
  set_tests_properties(${name}_corpus PROPERTIES SKIP_REGULAR_EXPRESSION "\\[  SKIPPED \\]")
endfunction()
