# cmake --install: the program with its tables in lib/kippurun (the program
# reads and writes the Untin folder beside itself), a link to it in bin, the
# icon, the desktop entry and the AppStream metadata (both named by the
# application's id). Tables already installed are kept, so that a
# clerk's saved key layout and default stations survive an update.
set(KIPPURUN_INSTALL_DIR lib/kippurun)
install(TARGETS kippurun RUNTIME DESTINATION ${KIPPURUN_INSTALL_DIR})
install(FILES ${CMAKE_SOURCE_DIR}/desktop/kippurun.svg
        DESTINATION share/icons/hicolor/scalable/apps)
configure_file(${CMAKE_SOURCE_DIR}/desktop/app.metainfo.xml.in
               ${CMAKE_BINARY_DIR}/${KIPPURUN_APP_ID}.metainfo.xml @ONLY)
install(FILES ${CMAKE_BINARY_DIR}/${KIPPURUN_APP_ID}.metainfo.xml DESTINATION share/metainfo)
install(CODE "
  set(root \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}\")
  set(untin \"\${root}/${KIPPURUN_INSTALL_DIR}/Untin\")
  message(STATUS \"Installing (existing files kept): \${untin}\")
  execute_process(COMMAND \"${CMAKE_COMMAND}\" -DSRC=${KIPPURUN_UNTIN_SOURCE} -DDEST=\${untin}
                  -P ${CMAKE_SOURCE_DIR}/cmake/copy_untin.cmake COMMAND_ERROR_IS_FATAL ANY)
  file(MAKE_DIRECTORY \"\${root}/bin\")
  message(STATUS \"Installing: \${root}/bin/kippurun\")
  file(CREATE_LINK ../${KIPPURUN_INSTALL_DIR}/kippurun \"\${root}/bin/kippurun\" SYMBOLIC)
  set(KIPPURUN_EXEC \"\${CMAKE_INSTALL_PREFIX}/bin/kippurun\")
  message(STATUS \"Installing: \${root}/share/applications/${KIPPURUN_APP_ID}.desktop\")
  configure_file(${CMAKE_SOURCE_DIR}/desktop/app.desktop.in
                 \"\${root}/share/applications/${KIPPURUN_APP_ID}.desktop\" @ONLY)
  # What this code installs goes into install_manifest.txt like the rest:
  # the tables (kept or new), the link and the desktop entry.
  file(GLOB tables RELATIVE \"${KIPPURUN_UNTIN_SOURCE}\" \"${KIPPURUN_UNTIN_SOURCE}/*.csv\")
  foreach(table IN LISTS tables)
    list(APPEND CMAKE_INSTALL_MANIFEST_FILES \"\${untin}/\${table}\")
  endforeach()
  list(APPEND CMAKE_INSTALL_MANIFEST_FILES \"\${root}/bin/kippurun\"
       \"\${root}/share/applications/${KIPPURUN_APP_ID}.desktop\")
")
