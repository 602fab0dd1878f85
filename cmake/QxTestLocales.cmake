# Builds the locales some tests run under into DIR, one directory per locale in the form
# LOCPATH reads, from the locale sources (Debian package "locales"); the system's own
# locales and configuration are left alone. A locale built before is kept. Run by the
# CTest fixture test "test_locales" (tests/CMakeLists.txt); fails when a locale cannot be
# built, so that the tests needing it are not run rather than passed.
#   cmake -DDIR=<dir> -DLOCALES=de_DE.UTF-8,tr_TR.UTF-8 -P QxTestLocales.cmake
find_program(LOCALEDEF localedef)
string(REPLACE "," ";" names "${LOCALES}")
foreach(name ${names})
  set(out ${DIR}/${name})
  if(EXISTS ${out}/LC_CTYPE AND EXISTS ${out}/LC_TIME)
    continue()
  endif()
  if(NOT LOCALEDEF)
    message(FATAL_ERROR "localedef is missing (Debian package libc-bin)")
  endif()
  string(REGEX MATCH "^([^.]+)\\.(.+)$" matched ${name})
  set(source ${CMAKE_MATCH_1})
  set(charmap ${CMAKE_MATCH_2})
  # Built beside its place and moved there whole, so a test never sees half a locale.
  file(REMOVE_RECURSE ${out}.part ${out})
  file(MAKE_DIRECTORY ${DIR})
  execute_process(COMMAND ${LOCALEDEF} -i ${source} -f ${charmap} ${out}.part
                  RESULT_VARIABLE status OUTPUT_VARIABLE output ERROR_VARIABLE output)
  # localedef's status is not 0 for mere warnings: the files it wrote tell.
  if(NOT EXISTS ${out}.part/LC_CTYPE OR NOT EXISTS ${out}.part/LC_TIME)
    file(REMOVE_RECURSE ${out}.part)
    message(FATAL_ERROR "could not build the locale ${name} (its sources come with the "
                        "Debian package locales, which scripts/install-deps installs): ${output}")
  endif()
  file(RENAME ${out}.part ${out})
  message(STATUS "built ${name}")
endforeach()
