# Fails when any file under DIR includes a Qt header.
file(GLOB_RECURSE files "${DIR}/*.h" "${DIR}/*.cpp")
foreach(f IN LISTS files)
  file(STRINGS "${f}" hits REGEX "^[ \t]*#[ \t]*include[ \t]*[<\"]Q")
  if(hits)
    message(FATAL_ERROR "Qt include in the core library: ${f}: ${hits}")
  endif()
endforeach()
