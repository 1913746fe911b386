# Install rules and the Debian package. Included from the top CMakeLists.txt.
include(GNUInstallDirs)

set(TARVIK_APP_ID fr.tarvik.Tarvik)
set(TARVIK_PACKAGING ${CMAKE_SOURCE_DIR}/packaging)
set(TARVIK_GENERATED ${CMAKE_BINARY_DIR}/packaging)

install(TARGETS tarvik RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})

install(FILES ${TARVIK_PACKAGING}/${TARVIK_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${TARVIK_PACKAGING}/tarvik-mime.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages RENAME tarvik.xml)

configure_file(${TARVIK_PACKAGING}/${TARVIK_APP_ID}.metainfo.xml.in
               ${TARVIK_GENERATED}/${TARVIK_APP_ID}.metainfo.xml @ONLY)
install(FILES ${TARVIK_GENERATED}/${TARVIK_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

install(FILES ${TARVIK_PACKAGING}/icons/tarvik.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size 16 22 24 32 48 64 128 256)
  install(FILES ${TARVIK_PACKAGING}/icons/tarvik-${size}.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME tarvik.png)
endforeach()

# Manual page and the Debian changelog, compressed without a time stamp so
# that two builds give the same bytes.
configure_file(${TARVIK_PACKAGING}/tarvik.1.in ${TARVIK_GENERATED}/tarvik.1 @ONLY)
find_program(TARVIK_GZIP gzip REQUIRED)
add_custom_command(
  OUTPUT ${TARVIK_GENERATED}/tarvik.1.gz
  COMMAND ${TARVIK_GZIP} -9nc ${TARVIK_GENERATED}/tarvik.1 > ${TARVIK_GENERATED}/tarvik.1.gz
  DEPENDS ${TARVIK_GENERATED}/tarvik.1
  VERBATIM)
add_custom_command(
  OUTPUT ${TARVIK_GENERATED}/changelog.gz
  COMMAND ${TARVIK_GZIP} -9nc ${TARVIK_PACKAGING}/debian/changelog > ${TARVIK_GENERATED}/changelog.gz
  DEPENDS ${TARVIK_PACKAGING}/debian/changelog
  VERBATIM)
add_custom_target(tarvik_docs ALL DEPENDS ${TARVIK_GENERATED}/tarvik.1.gz
                                         ${TARVIK_GENERATED}/changelog.gz)
install(FILES ${TARVIK_GENERATED}/tarvik.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
# The package's name, not the project's: Debian looks for /usr/share/doc/tarvik.
install(FILES ${TARVIK_PACKAGING}/debian/copyright ${TARVIK_GENERATED}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/tarvik)
# The desktop entry starts the program through env, to tell it that it was
# started from the menu; lintian looks for "env" in the package.
install(FILES ${TARVIK_PACKAGING}/debian/lintian-overrides
        DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides RENAME tarvik)

# The package's changelog must name the version being built.
file(STRINGS ${TARVIK_PACKAGING}/debian/changelog TARVIK_CHANGELOG_TOP LIMIT_COUNT 1)
if(NOT TARVIK_CHANGELOG_TOP MATCHES "^tarvik \\(${PROJECT_VERSION}\\) ")
  message(FATAL_ERROR "packaging/debian/changelog does not start with version ${PROJECT_VERSION}")
endif()

# The Debian package: cpack -G DEB in the build folder.
set(CPACK_PACKAGE_NAME tarvik)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Tarvik")
set(TARVIK_MAINTAINER "Tarvik <tarvik@example.org>"
    CACHE STRING "Maintainer written into the Debian package")
set(CPACK_PACKAGE_CONTACT ${TARVIK_MAINTAINER})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "gestion de contacts et prospection commerciale")
set(CPACK_PACKAGE_DESCRIPTION
    "Tarvik tient un fichier de sociétés et de personnes à prospecter : adresses,
historique des appels et des visites, relances, alertes, ventes abouties et
opérations commerciales avec leurs coûts. Il recherche, trie, sélectionne,
imprime fiches, listings, enveloppes et rapports, importe des fichiers texte,
CSV et dBase et exporte en texte, CSV et XML. Son interface est en français.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries come from the binary; the French Qt texts, the fonts that
# stand in for Arial and Times New Roman are needed at run time only. The X11
# platform plugin comes with libqt6gui6; Wayland's is recommended.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-translations-l10n, fonts-liberation2")
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")
set(CPACK_STRIP_FILES ON)
set(CPACK_GENERATOR DEB)
include(CPack)
