# Fails when a core source includes a Qt header (run as a build step of dualvex_core).
file(GLOB_RECURSE files "${DIR}/*.cpp" "${DIR}/*.h")
foreach(f IN LISTS files)
  file(STRINGS "${f}" hits REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"](Q[A-Za-z]|qt|Qt)")
  if(hits)
    message(FATAL_ERROR "core must not include Qt: ${f}: ${hits}")
  endif()
endforeach()
