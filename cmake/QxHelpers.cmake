# Build helpers shared by every directory:
#   qx_add_gtest(<target> SOURCES ... [LIBS ...] [LABELS ...] [LOCALES])   a GoogleTest
#       binary, its tests registered with CTest; label "unit" marks tests that also run in
#       the sanitizer build, "e2e" tests that start real programs, "xvfb" tests under a
#       display. LOCALES: the tests run after the fixture "test_locales" with LOCPATH set
#       to the locales it built (tests/CMakeLists.txt).
#   qx_embed_resources(<target> <name> FILES <file>...)          compiles files into the
#       target; the runtime finds them by file name (see runtime/sys/resources.h).
include(GoogleTest)

function(qx_add_gtest target)
  cmake_parse_arguments(ARG "LOCALES" "" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${target} ${ARG_SOURCES})
  target_link_libraries(${target} PRIVATE ${ARG_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
  if(NOT ARG_LABELS)
    set(ARG_LABELS unit)
  endif()
  set(locale_properties)
  if(ARG_LOCALES)
    set(locale_properties FIXTURES_REQUIRED test_locales ENVIRONMENT LOCPATH=${QX_TEST_LOCPATH})
  endif()
  gtest_discover_tests(${target}
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 60
    WORKING_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR}
    PROPERTIES LABELS "${ARG_LABELS}" TIMEOUT 600 ${locale_properties})
endfunction()

function(qx_embed_resources target name)
  cmake_parse_arguments(ARG "" "" "FILES" ${ARGN})
  set(out ${CMAKE_CURRENT_BINARY_DIR}/${target}_${name}_resources.cpp)
  set(abs_files)
  foreach(f ${ARG_FILES})
    get_filename_component(af ${f} ABSOLUTE)
    list(APPEND abs_files ${af})
  endforeach()
  add_custom_command(
    OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -DOUT=${out} -DNAME=${name} "-DFILES=${abs_files}"
            -P ${PROJECT_SOURCE_DIR}/cmake/QxEmbed.cmake
    DEPENDS ${abs_files} ${PROJECT_SOURCE_DIR}/cmake/QxEmbed.cmake
    COMMENT "Embedding resources ${name} into ${target}"
    VERBATIM)
  target_sources(${target} PRIVATE ${out})
endfunction()
