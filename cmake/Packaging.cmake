# Packages made by CPack from the install rules (src/install):
#   make release-archive  lumeno-<version>-linux-<arch>.tar.gz, one top folder `lumeno/` holding the
#                         application folder: what an update downloads and unpacks
#   make deb              lumeno_<version>_<arch>.deb, the whole install under /usr
set(CPACK_PACKAGE_NAME lumeno)
set(CPACK_PACKAGE_VENDOR "Lumeno")
set(CPACK_PACKAGE_CONTACT "Lumeno <support@lumeno.app>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Drafts e-mail and chat replies by voice, from the tray")
set(CPACK_PACKAGE_DESCRIPTION
    "Lumeno lives in the tray. While a mail or chat window has a text field in focus, hold a key and say what \
the reply should say: Lumeno transcribes the speech on this computer, reads the conversation around the \
field and writes the reply into it in your own voice.")
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_STRIP_FILES ON)
set(CPACK_SOURCE_GENERATOR "")

# The release archive: the component `release` alone (an archive of a component has no top folder of
# CPack's own: the folder `lumeno/` is the install destination).
set(LUMENO_RELEASE_ARCHIVE lumeno-${PROJECT_VERSION}-linux-${CMAKE_SYSTEM_PROCESSOR})
set(CPACK_ARCHIVE_COMPONENT_INSTALL ON)
set(CPACK_ARCHIVE_RELEASE_FILE_NAME ${LUMENO_RELEASE_ARCHIVE})

# The Debian package: every default component (not the archive's copy) under /usr; the libraries it
# links are found by dpkg-shlibdeps, the rest it needs at run time is listed.
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, pocketsphinx-en-us, at-spi2-core, dbus")
set(CPACK_DEB_COMPONENT_INSTALL OFF)

# Which components each generator packs is settled when it runs.
set(CPACK_PROJECT_CONFIG_FILE ${CMAKE_CURRENT_LIST_DIR}/PackagingPerGenerator.cmake)
include(CPack)

add_custom_target(release-archive
  COMMAND ${CMAKE_CPACK_COMMAND} -G TGZ --config ${PROJECT_BINARY_DIR}/CPackConfig.cmake
  WORKING_DIRECTORY ${PROJECT_BINARY_DIR}
  DEPENDS lumeno
  COMMENT "Packing ${LUMENO_RELEASE_ARCHIVE}.tar.gz")
add_custom_target(deb
  COMMAND ${CMAKE_CPACK_COMMAND} -G DEB --config ${PROJECT_BINARY_DIR}/CPackConfig.cmake
  WORKING_DIRECTORY ${PROJECT_BINARY_DIR}
  DEPENDS lumeno app-icons
  COMMENT "Packing the Debian package")
