# Installs the build into PREFIX (emptied first) and checks what arrived.
cmake_minimum_required(VERSION 3.25)
file(REMOVE_RECURSE "${PREFIX}")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD}" --prefix "${PREFIX}"
                OUTPUT_VARIABLE log RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "cmake --install failed (${status}):\n${log}")
endif()

foreach(piece
    bin/kippurun
    lib/kippurun/kippurun
    lib/kippurun/Untin/Otona.csv
    lib/kippurun/Untin/Ekimei1.csv
    lib/kippurun/Untin/Start.csv
    lib/kippurun/Untin/Gakuwari.csv
    share/icons/hicolor/scalable/apps/kippurun.svg
    share/applications/${APP_ID}.desktop
    share/metainfo/${APP_ID}.metainfo.xml)
  if(NOT EXISTS "${PREFIX}/${piece}")
    message(FATAL_ERROR "not installed: ${piece}\n${log}")
  endif()
endforeach()
file(GLOB tables "${SOURCE}/Untin/*.csv")
file(GLOB installed "${PREFIX}/lib/kippurun/Untin/*.csv")
list(LENGTH tables want)
list(LENGTH installed got)
if(NOT want EQUAL got)
  message(FATAL_ERROR "${got} tables installed, ${want} in Untin/")
endif()

# The desktop entry starts the installed program and names the icon.
file(READ "${PREFIX}/share/applications/${APP_ID}.desktop" entry)
foreach(line "Exec=${PREFIX}/bin/kippurun" "Icon=kippurun" "Name=キップルン" "Type=Application")
  string(FIND "${entry}" "\n${line}\n" at)
  if(at LESS 0)
    message(FATAL_ERROR "${APP_ID}.desktop lacks \"${line}\":\n${entry}")
  endif()
endforeach()

# The desktop entry passes the desktop's own check, without a word.
find_program(VALIDATE desktop-file-validate)
if(NOT VALIDATE)
  message(FATAL_ERROR "desktop-file-validate is missing: tools/setup.sh installs desktop-file-utils")
endif()
execute_process(COMMAND "${VALIDATE}" "${PREFIX}/share/applications/${APP_ID}.desktop"
                OUTPUT_VARIABLE said ERROR_VARIABLE said RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR NOT said STREQUAL "")
  message(FATAL_ERROR "desktop-file-validate on ${APP_ID}.desktop (${status}):\n${said}")
endif()

# The AppStream metadata passes appstreamcli's strictest check, without a
# warning, and launches the desktop entry installed beside it.
find_program(APPSTREAMCLI appstreamcli)
if(NOT APPSTREAMCLI)
  message(FATAL_ERROR "appstreamcli is missing: tools/setup.sh installs appstream")
endif()
execute_process(COMMAND "${APPSTREAMCLI}" validate --pedantic --no-net
                        "${PREFIX}/share/metainfo/${APP_ID}.metainfo.xml"
                OUTPUT_VARIABLE said ERROR_VARIABLE said RESULT_VARIABLE status)
file(READ "${PREFIX}/share/metainfo/${APP_ID}.metainfo.xml" metainfo)
string(FIND "${metainfo}" "<launchable type=\"desktop-id\">${APP_ID}.desktop</launchable>" at)
if(NOT status EQUAL 0 OR at LESS 0)
  message(FATAL_ERROR "appstreamcli validate on ${APP_ID}.metainfo.xml (${status}):\n${said}")
endif()

# install_manifest.txt names every file installed, and only those.
file(STRINGS "${BUILD}/install_manifest.txt" manifest)
file(GLOB_RECURSE installed LIST_DIRECTORIES false "${PREFIX}/*")
foreach(f IN LISTS installed)
  if(NOT f IN_LIST manifest)
    message(FATAL_ERROR "installed but not in install_manifest.txt: ${f}")
  endif()
endforeach()
foreach(f IN LISTS manifest)
  if(NOT EXISTS "${f}" AND NOT IS_SYMLINK "${f}")
    message(FATAL_ERROR "in install_manifest.txt but not installed: ${f}")
  endif()
endforeach()

# Started through bin/, the program finds the tables beside its real file
# and checks every one of them.
execute_process(COMMAND "${PREFIX}/bin/kippurun" --check
                OUTPUT_VARIABLE out ERROR_VARIABLE err RESULT_VARIABLE status)
if(NOT status EQUAL 0 OR NOT out MATCHES "まとめ: ${want} ファイル")
  message(FATAL_ERROR "installed program does not read its tables (${status}):\n${out}${err}")
endif()

# Installing again keeps a clerk's saved default stations.
file(WRITE "${PREFIX}/lib/kippurun/Untin/Start.csv" "5,67\n")
execute_process(COMMAND "${CMAKE_COMMAND}" --install "${BUILD}" --prefix "${PREFIX}"
                OUTPUT_QUIET RESULT_VARIABLE status)
file(READ "${PREFIX}/lib/kippurun/Untin/Start.csv" kept)
if(NOT status EQUAL 0 OR NOT kept STREQUAL "5,67\n")
  message(FATAL_ERROR "a second install replaced the saved Start.csv: \"${kept}\"")
endif()
message(STATUS "installed:\n${log}")
