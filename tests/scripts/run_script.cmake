# Runs one golden script; see CMakeLists.txt. A script may also name table
# files to delete from its copy ("# remove: MKiro.csv") and a fixed date
# other than the usual one ("# today: 2026-08-13").
get_filename_component(dir "${SCRIPT}" DIRECTORY)
get_filename_component(name "${SCRIPT}" NAME_WE)

file(READ "${SCRIPT}" source)
set(expected_exit 0)
if(source MATCHES "(^|\n)# exit: ([0-9]+)")
  set(expected_exit "${CMAKE_MATCH_2}")
endif()
set(today 2026-12-09)
if(source MATCHES "(^|\n)# today: ([0-9-]+)")
  set(today "${CMAKE_MATCH_2}")
endif()

file(REMOVE_RECURSE "${WORK}")
file(MAKE_DIRECTORY "${WORK}")
file(COPY "${UNTIN}/" DESTINATION "${WORK}/Untin")
string(REGEX MATCHALL "(^|\n)# remove: [^\n]+" removals "${source}")
foreach(line IN LISTS removals)
  string(REGEX REPLACE "(^|\n)# remove: " "" file "${line}")
  file(REMOVE "${WORK}/Untin/${file}")
endforeach()

execute_process(
  COMMAND "${PROGRAM}" --today ${today} --untin "${WORK}/Untin" --script "${SCRIPT}"
  OUTPUT_VARIABLE out
  ERROR_VARIABLE err
  RESULT_VARIABLE status)

set(failed FALSE)
file(READ "${dir}/${name}.expected" expected_out)
if(NOT out STREQUAL expected_out)
  file(WRITE "${WORK}/actual.out" "${out}")
  message("standard output differs from ${name}.expected; got ${WORK}/actual.out:\n${out}")
  set(failed TRUE)
endif()
if(NOT status STREQUAL expected_exit)
  message("exit status ${status}, expected ${expected_exit}; standard error:\n${err}")
  set(failed TRUE)
endif()
if(EXISTS "${dir}/${name}.stderr")
  file(READ "${dir}/${name}.stderr" expected_err)
  if(NOT err STREQUAL expected_err)
    message("standard error differs from ${name}.stderr:\n${err}")
    set(failed TRUE)
  endif()
endif()
if(failed)
  message(FATAL_ERROR "golden script ${name} failed")
endif()
