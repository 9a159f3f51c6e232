# Writes the source that tells the program its version and commit (run as a build
# step, so a new commit shows without configuring again). configure_file leaves the
# file untouched when nothing changed, so an unchanged commit rebuilds nothing.
#   -DSOURCE_DIR=<checkout> -DVERSION=<x.y> -DTEMPLATE=<.cpp.in> -DOUT=<.cpp>
cmake_policy(VERSION 3.22)

set(DUALVEX_VERSION "${VERSION}")
set(DUALVEX_COMMIT "unbekannt")
find_package(Git QUIET)
if(GIT_FOUND)
  execute_process(COMMAND "${GIT_EXECUTABLE}" -C "${SOURCE_DIR}" rev-parse --short=12 HEAD
    OUTPUT_VARIABLE commit OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE rc ERROR_QUIET)
  if(rc EQUAL 0 AND commit)
    set(DUALVEX_COMMIT "${commit}")
    execute_process(COMMAND "${GIT_EXECUTABLE}" -C "${SOURCE_DIR}" status --porcelain --untracked-files=no
      OUTPUT_VARIABLE changes RESULT_VARIABLE rc ERROR_QUIET)
    if(rc EQUAL 0 AND changes)
      string(APPEND DUALVEX_COMMIT "-dirty")
    endif()
  endif()
endif()
configure_file("${TEMPLATE}" "${OUT}" @ONLY)
