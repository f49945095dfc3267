# `cmake --install` lays the program out the way a Linux desktop expects:
#   lib/zenx/            the program and libveldux.so (its private directory)
#   bin/zenx             a link to it
#   share/zenx/          the read-only content (D/, I/B/, a/, zernox2.dat)
#   share/applications, share/metainfo, share/icons, share/man, share/doc
#   sbin/zenx-exchange   the exchange server, with its unit, its man page and
#   share/zenx-exchange/ the record database that judges the answers
# The program finds the content through ../../share/zenx and keeps user data
# in the user's own data directory (platform/paths.cpp).
#
# Components: "program" and "server" are the two Debian packages (see
# ZenxPackage.cmake); "uninstall" registers the uninstaller that `zenx
# uninstall` starts and belongs to a plain `cmake --install` only.
include(GNUInstallDirs)
# Not CMAKE_INSTALL_LIBDIR: that is the multiarch library path on Debian, and
# the program's folder is private, not a library directory.
set(ZENX_INSTALL_DIR lib/zenx)
set(ZENX_SHARE_DIR ${CMAKE_INSTALL_DATADIR}/zenx)
set(ZENX_APP_ID example.korvane.zernox2)
set(ZENX_SYSTEMD_UNIT_DIR lib/systemd/system CACHE STRING
    "Where the zenx-exchange unit goes (relative to the prefix, or absolute)")
set(ZENX_PACKAGING_SOURCE ${CMAKE_SOURCE_DIR}/packaging)
set(ZENX_PACKAGING_BINARY ${CMAKE_BINARY_DIR}/packaging)
file(MAKE_DIRECTORY ${ZENX_PACKAGING_BINARY})

# --- made at build time: icons, compressed man pages and changelog ---------
set(ZENX_ICON_DIR ${CMAKE_BINARY_DIR}/icons)
add_custom_command(OUTPUT ${ZENX_ICON_DIR}/hicolor/scalable/apps/${ZENX_APP_ID}.svg
                          ${ZENX_ICON_DIR}/hicolor/48x48/apps/${ZENX_APP_ID}.png
                          ${ZENX_ICON_DIR}/hicolor/128x128/apps/${ZENX_APP_ID}.png
                          ${ZENX_ICON_DIR}/hicolor/256x256/apps/${ZENX_APP_ID}.png
  COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0
          $<TARGET_FILE:zenx-icon> ${ZENX_ICON_DIR} ${ZENX_APP_ID}
  DEPENDS zenx-icon
  COMMENT "Drawing the desktop icon"
  VERBATIM)

# gzip -9n: no name and time stamp inside, so the packages are reproducible.
set(ZENX_GZIPPED)
function(zenx_gzip source output)
  add_custom_command(OUTPUT ${output}
    COMMAND sh -c "gzip -9n -c \"$0\" > \"$1\"" ${source} ${output}
    DEPENDS ${source}
    VERBATIM)
  set(ZENX_GZIPPED ${ZENX_GZIPPED} ${output} PARENT_SCOPE)
endfunction()
zenx_gzip(${ZENX_PACKAGING_SOURCE}/zenx.1 ${ZENX_PACKAGING_BINARY}/zenx.1.gz)
zenx_gzip(${ZENX_PACKAGING_SOURCE}/zenx-exchange.8 ${ZENX_PACKAGING_BINARY}/zenx-exchange.8.gz)
zenx_gzip(${ZENX_PACKAGING_SOURCE}/changelog ${ZENX_PACKAGING_BINARY}/changelog.gz)

add_custom_target(zenx_desktop_files ALL
  DEPENDS ${ZENX_ICON_DIR}/hicolor/scalable/apps/${ZENX_APP_ID}.svg ${ZENX_GZIPPED})

# bin/zenx: a relative link, so the tree can live under any prefix.
file(CREATE_LINK ../${ZENX_INSTALL_DIR}/zenx ${ZENX_PACKAGING_BINARY}/zenx SYMBOLIC)

set(_data_permissions OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
set(_dir_permissions OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE
                     WORLD_READ WORLD_EXECUTE)

# --- the program -------------------------------------------------------------
install(TARGETS zenx RUNTIME DESTINATION ${ZENX_INSTALL_DIR} COMPONENT program)
install(TARGETS veldux LIBRARY DESTINATION ${ZENX_INSTALL_DIR} COMPONENT program
        PERMISSIONS ${_data_permissions})
install(FILES ${ZENX_PACKAGING_BINARY}/zenx DESTINATION ${CMAKE_INSTALL_BINDIR}
        COMPONENT program)
install(DIRECTORY ${ZENX_PROGRAM_DIR}/D ${ZENX_PROGRAM_DIR}/I ${ZENX_PROGRAM_DIR}/a
        DESTINATION ${ZENX_SHARE_DIR} COMPONENT program
        FILE_PERMISSIONS ${_data_permissions}
        DIRECTORY_PERMISSIONS ${_dir_permissions})
install(FILES ${ZENX_PROGRAM_DIR}/zernox2.dat DESTINATION ${ZENX_SHARE_DIR}
        COMPONENT program PERMISSIONS ${_data_permissions})
install(FILES ${ZENX_PACKAGING_SOURCE}/${ZENX_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications COMPONENT program)
install(FILES ${ZENX_PACKAGING_SOURCE}/${ZENX_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo COMPONENT program)
install(DIRECTORY ${ZENX_ICON_DIR}/hicolor DESTINATION ${CMAKE_INSTALL_DATADIR}/icons
        COMPONENT program
        FILE_PERMISSIONS ${_data_permissions}
        DIRECTORY_PERMISSIONS ${_dir_permissions})
install(FILES ${ZENX_PACKAGING_BINARY}/zenx.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1
        COMPONENT program)
install(FILES ${ZENX_PACKAGING_SOURCE}/copyright ${ZENX_PACKAGING_BINARY}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/zenx COMPONENT program)

# --- the exchange server -------------------------------------------------------
install(TARGETS zenx-exchange RUNTIME DESTINATION ${CMAKE_INSTALL_SBINDIR} COMPONENT server)
install(FILES ${ZENX_PROGRAM_DIR}/D/IDbRecs.dat DESTINATION ${CMAKE_INSTALL_DATADIR}/zenx-exchange/D
        COMPONENT server)
install(FILES ${ZENX_PACKAGING_SOURCE}/zenx-exchange.service
        DESTINATION ${ZENX_SYSTEMD_UNIT_DIR} COMPONENT server)
install(FILES ${ZENX_PACKAGING_BINARY}/zenx-exchange.8.gz
        DESTINATION ${CMAKE_INSTALL_MANDIR}/man8 COMPONENT server)
install(FILES ${ZENX_PACKAGING_SOURCE}/copyright ${ZENX_PACKAGING_BINARY}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/zenx-exchange COMPONENT server)

# --- uninstall entry of a plain install ----------------------------------------
# The program reads uninstall.ini from its own directory; a package has none,
# so `zenx uninstall` starts nothing there and the package manager removes it.
install(PROGRAMS ${CMAKE_SOURCE_DIR}/scripts/zenx-uninstall DESTINATION ${ZENX_INSTALL_DIR}
        COMPONENT uninstall)
install(CODE "set(ZENX_INSTALL_DIR_PLACEHOLDER \"${ZENX_INSTALL_DIR}\")" COMPONENT uninstall)
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
]] COMPONENT uninstall)

include(${CMAKE_CURRENT_LIST_DIR}/ZenxPackage.cmake)
