# Installation and the Debian package.
#
# The program looks for its bank-code file in its own folder (found through /proc/self/exe,
# which resolves symbolic links), so executable and bank-code file go into one folder,
# lib/zelvan-konverter, and bin/zelvan-konverter is a symbolic link to the executable. The bundled
# sample file is not installed: its banks are made up, and an installed program must find the
# Bundesbank's file there or nothing (it then says where the file belongs).
include(GNUInstallDirs)

set(ZELVAN_PROGRAM_DIR lib/zelvan-konverter)

install(TARGETS zelvan-konverter RUNTIME DESTINATION ${ZELVAN_PROGRAM_DIR})
file(MAKE_DIRECTORY ${PROJECT_BINARY_DIR}/install)
file(CREATE_LINK ../${ZELVAN_PROGRAM_DIR}/zelvan-konverter ${PROJECT_BINARY_DIR}/install/zelvan-konverter SYMBOLIC)
install(FILES ${PROJECT_BINARY_DIR}/install/zelvan-konverter DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${PROJECT_SOURCE_DIR}/data/zelvan-konverter.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/data/zelvan-konverter.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zelvan-konverter)
set(CPACK_PACKAGE_VENDOR "Zelvan Konverter")
set(CPACK_PACKAGE_CONTACT "Zelvan Konverter <zelvan-konverter@example.org>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Wandelt Bankleitzahl und Kontonummer in IBAN und BIC um")
set(CPACK_PACKAGE_DESCRIPTION
    "Zelvan Konverter setzt in den Mandanten-Datenbanken von Marlo OP, Tondra, Dorvan und Galdo \
IBAN und BIC nach den IBAN-Regeln der Deutschen Bundesbank ein, mit Programmfenster und mit den \
Befehlen iban, convert und search für den Stapelbetrieb.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Zelvan Konverter <zelvan-konverter@example.org>")
# The libraries the executable links (libsqlite3, libstdc++, and Qt once the windows link it)
# become the package's dependencies.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# RIGHT JOIN in the loader's statements needs SQLite 3.39; the German texts of Qt's own dialogs
# and buttons come from Qt's translations.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "libsqlite3-0 (>= 3.39), qt6-translations-l10n")
set(CPACK_STRIP_FILES ON)
set(CPACK_OUTPUT_FILE_PREFIX ${PROJECT_BINARY_DIR})
include(CPack)
