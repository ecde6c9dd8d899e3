# Installation: the program (src/app), its desktop entry, icons, AppStream metadata and
# manual page. The version, summary and homepage are those of project(); the files that carry
# them are generated here.

set(PF_APP_ID io.github.parlo_film.Viewer)  # reverse-DNS: names the desktop entry and the metainfo
# Screenshots are those of docs/ at the tag of this version.
string(REPLACE "://github.com/" "://raw.githubusercontent.com/" _raw "${PROJECT_HOMEPAGE_URL}")
set(PF_SCREENSHOT_URL "${_raw}/v${PROJECT_VERSION}/docs")

# The long description, paragraphs of plain text, as the metainfo's paragraphs.
set(PF_DESCRIPTION_FILE ${PROJECT_SOURCE_DIR}/assets/description.txt)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${PF_DESCRIPTION_FILE})
file(READ ${PF_DESCRIPTION_FILE} _text)
string(STRIP "${_text}" _text)
string(REPLACE "&" "&amp;" _text "${_text}")
string(REPLACE "<" "&lt;" _text "${_text}")
string(REPLACE "\n\n" "</p><p>" _text "${_text}")
string(REPLACE "\n" " " _text "${_text}")
string(REPLACE "</p><p>" "</p>\n    <p>" PF_DESCRIPTION_XML "${_text}")

set(_gen ${CMAKE_BINARY_DIR}/generated/share)
configure_file(assets/${PF_APP_ID}.metainfo.xml.in ${_gen}/${PF_APP_ID}.metainfo.xml @ONLY)
configure_file(assets/parlo_film.1.in ${_gen}/parlo_film.1 @ONLY)
# Debian keeps manual pages compressed, without a name or time stamp inside.
find_program(PF_GZIP gzip REQUIRED)
foreach(_f parlo_film.1)
  add_custom_command(OUTPUT ${_gen}/${_f}.gz COMMAND ${PF_GZIP} -9nkf ${_gen}/${_f}
                     DEPENDS ${_gen}/${_f} VERBATIM)
endforeach()
add_custom_target(pf_compressed_docs ALL DEPENDS ${_gen}/parlo_film.1.gz)

install(FILES assets/${PF_APP_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${_gen}/${PF_APP_ID}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES ${_gen}/parlo_film.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
foreach(_size 48 128)
  install(FILES assets/icon/parlo_film-${_size}.png RENAME parlo_film.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${_size}x${_size}/apps)
endforeach()
install(FILES assets/icon/parlo_film.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
