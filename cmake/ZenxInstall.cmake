# `cmake --install` lays out one program directory under <prefix>/lib/zenx and
# registers the uninstall entry that the program's "uninstall" argument runs.
include(GNUInstallDirs)
set(ZENX_INSTALL_DIR ${CMAKE_INSTALL_LIBDIR}/zenx)

install(TARGETS zenx RUNTIME DESTINATION ${ZENX_INSTALL_DIR})
install(DIRECTORY ${ZENX_PROGRAM_DIR}/ DESTINATION ${ZENX_INSTALL_DIR}
        USE_SOURCE_PERMISSIONS
        PATTERN "zenx" EXCLUDE
        PATTERN "User" EXCLUDE
        PATTERN "T" EXCLUDE
        PATTERN "uninstall.ini" EXCLUDE)
install(PROGRAMS ${CMAKE_SOURCE_DIR}/scripts/zenx-uninstall DESTINATION ${ZENX_INSTALL_DIR})
install(CODE "set(ZENX_INSTALL_DIR_PLACEHOLDER \"${ZENX_INSTALL_DIR}\")")
install(CODE [[
  set(_dir "$ENV{DESTDIR}${CMAKE_INSTALL_PREFIX}/${ZENX_INSTALL_DIR_PLACEHOLDER}")
  set(_files ${CMAKE_INSTALL_MANIFEST_FILES})
  list(APPEND _files "${_dir}/uninstall.ini" "${_dir}/uninstall-manifest.txt")
  list(JOIN _files "\n" _text)
  file(WRITE "${_dir}/uninstall-manifest.txt" "${_text}\n")
  set(_prog "${CMAKE_INSTALL_PREFIX}/${ZENX_INSTALL_DIR_PLACEHOLDER}")
  file(WRITE "${_dir}/uninstall.ini"
    "[Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Zernox 2]\r\n"
    "UninstallString=\"\"${_prog}/zenx-uninstall\" \"${_prog}/uninstall-manifest.txt\"\"\r\n")
]])
