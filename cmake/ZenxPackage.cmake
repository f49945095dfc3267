# Two Debian packages from the install components: zenx (component
# "program") and zenx-exchange (component "server"). scripts/package builds
# them; `cpack -G DEB` in a configured build directory does the same.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zenx)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Korvane Software")
set(CPACK_PACKAGE_CONTACT "Korvane Software <info@korvane.example>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL program server)
set(CPACK_COMPONENTS_GROUPING IGNORE)

set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SOURCE zenx)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://www.korvane.example/")
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)

set(CPACK_DEBIAN_PROGRAM_PACKAGE_NAME zenx)
set(CPACK_DEBIAN_PROGRAM_PACKAGE_SECTION education)
# Loaded at run time, so shlibdeps cannot see them: the display plugins, the
# TIFF decoder and the metric stand-in for the "Arial" the design names.
set(CPACK_DEBIAN_PROGRAM_PACKAGE_DEPENDS
    "qt6-qpa-plugins, qt6-image-formats-plugins, fonts-liberation")
set(CPACK_COMPONENT_PROGRAM_DESCRIPTION
    "practise intelligence tests (Dutch)\n\
Zernox 2 is a desktop program for practising intelligence tests, with a\n\
Dutch user interface. Several people share one installation: each logs on,\n\
gives an age and a gender, takes timed multiple-choice tests from a\n\
catalogue, sees feedback with explanations and how internet participants\n\
answered, and gets an IQ from a norm table for their age group.")

set(CPACK_DEBIAN_SERVER_PACKAGE_NAME zenx-exchange)
set(CPACK_DEBIAN_SERVER_PACKAGE_SECTION net)
set(CPACK_COMPONENT_SERVER_DESCRIPTION
    "exchange server for the answers of Zernox 2 users\n\
zenx-exchange takes uploads of Zernox 2 user files, judges every answer\n\
against the test content and serves per question and participant group the\n\
share of right answers. It keeps only a keyed hash of each participant, in\n\
SQLite or PostgreSQL. A hardened systemd unit is included.")

include(CPack)
