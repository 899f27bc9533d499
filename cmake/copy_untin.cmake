# Copies the sample tables beside the program, keeping every file that is
# already there (a clerk's saved key layout and default stations).
file(MAKE_DIRECTORY "${DEST}")
file(GLOB files RELATIVE "${SRC}" "${SRC}/*.csv")
foreach(f IN LISTS files)
  if(NOT EXISTS "${DEST}/${f}")
    file(COPY "${SRC}/${f}" DESTINATION "${DEST}")
  endif()
endforeach()
