# SPDX-License-Identifier: GPL-3.0-or-later
# Installation and the Debian package. `cmake --install` and `cpack -G DEB` use the same rules:
# the program (src/app), its desktop entry, icons, AppStream metadata, manual page and the
# copyright and changelog files Debian expects. The version, summary and homepage are those of
# project(); the files that carry them are generated here.

set(PF_APP_ID io.github.parlo_film.Viewer)  # reverse-DNS: names the desktop entry and the metainfo
set(PF_PACKAGE_NAME parlo-film)             # a Debian package name has no capitals nor underscores
set(PF_PACKAGE_MAINTAINER "Parlo_film Viewer developers <parlo-film@users.noreply.github.com>"
    CACHE STRING "Maintainer field of the Debian package and its changelog")
set(PF_DOC_DIR ${CMAKE_INSTALL_DATADIR}/doc/${PF_PACKAGE_NAME})
# Screenshots are those of docs/ at the tag of this version.
string(REPLACE "://github.com/" "://raw.githubusercontent.com/" _raw "${PROJECT_HOMEPAGE_URL}")
set(PF_SCREENSHOT_URL "${_raw}/v${PROJECT_VERSION}/docs")

# One long description for both the package and the metainfo: paragraphs of plain text.
set(PF_DESCRIPTION_FILE ${PROJECT_SOURCE_DIR}/assets/description.txt)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PF_DESCRIPTION_FILE})
file(READ ${PF_DESCRIPTION_FILE} _text)
string(STRIP "${_text}" _text)
string(REPLACE "&" "&amp;" _text "${_text}")
string(REPLACE "<" "&lt;" _text "${_text}")
string(REPLACE "\n\n" "</p><p>" _text "${_text}")
string(REPLACE "\n" " " _text "${_text}")
string(REPLACE "</p><p>" "</p>\n    <p>" PF_DESCRIPTION_XML "${_text}")

# The changelog's date line wants the weekday; the date itself is declared once, beside project().
execute_process(COMMAND date -R -u -d "${PF_RELEASE_DATE}" OUTPUT_VARIABLE PF_RELEASE_DATE_RFC2822
                OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)

set(_gen ${CMAKE_BINARY_DIR}/generated/share)
configure_file(assets/${PF_APP_ID}.metainfo.xml.in ${_gen}/${PF_APP_ID}.metainfo.xml @ONLY)
configure_file(assets/copyright.in ${_gen}/copyright @ONLY)
configure_file(assets/parlo_film.1.in ${_gen}/parlo_film.1 @ONLY)
configure_file(assets/changelog.in ${_gen}/changelog @ONLY)
# Debian keeps manual pages and changelogs compressed, without a name or time stamp inside.
find_program(PF_GZIP gzip REQUIRED)
foreach(_f parlo_film.1 changelog)
  add_custom_command(OUTPUT ${_gen}/${_f}.gz COMMAND ${PF_GZIP} -9nkf ${_gen}/${_f}
                     DEPENDS ${_gen}/${_f} VERBATIM)
endforeach()
add_custom_target(pf_compressed_docs ALL DEPENDS ${_gen}/parlo_film.1.gz ${_gen}/changelog.gz)

install(FILES assets/${PF_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${_gen}/${PF_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${_gen}/parlo_film.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES ${_gen}/copyright ${_gen}/changelog.gz DESTINATION ${PF_DOC_DIR})
foreach(_size 48 128)
  install(FILES assets/icon/parlo_film-${_size}.png RENAME parlo_film.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${_size}x${_size}/apps)
endforeach()
install(FILES assets/icon/parlo_film.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)

# cpack -G DEB: parlo-film_<version>_<arch>.deb, its library dependencies found by dpkg-shlibdeps.
set(CPACK_PACKAGE_NAME ${PF_PACKAGE_NAME})
set(CPACK_PACKAGE_DESCRIPTION_FILE ${PF_DESCRIPTION_FILE})
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${PF_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION video)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Qt loads its window-system plugins at run time, and the program libmpv when a player starts,
# which dpkg-shlibdeps cannot see.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, libmpv2")
# The skin's font and Qt's Japanese dialogs; without them the program still runs.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-noto-cjk, qt6-translations-l10n")
include(CPack)
