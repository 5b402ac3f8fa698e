# The Linux program, its desktop files and its Debian package's parts.
# Its icon is a Qt resource. Format 1 carries no modification times, which would
# tie the program's bytes to the icon's date in the checkout (or to
# SOURCE_DATE_EPOCH, if set when it was built).
qt_add_resources(velbrin_app velbrin_icon PREFIX /velbrin BASE icon FILES icon/velbrin.png
                 OPTIONS --format-version 1)

configure_file(velbrin.desktop.in ${CMAKE_CURRENT_BINARY_DIR}/${VELBRIN_APP_ID}.desktop @ONLY)
configure_file(velbrin.metainfo.xml.in ${CMAKE_CURRENT_BINARY_DIR}/${VELBRIN_APP_ID}.metainfo.xml
               @ONLY)
install(TARGETS velbrin RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/${VELBRIN_APP_ID}.desktop
        DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/${VELBRIN_APP_ID}.metainfo.xml
        DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
install(FILES icon/velbrin.png DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/32x32/apps
        RENAME ${VELBRIN_APP_ID}.png)
install(FILES icon/velbrin.svg
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps
        RENAME ${VELBRIN_APP_ID}.svg)

# What a Debian package carries besides: copyright, changelog and manual page,
# the last two compressed as Debian's policy asks, and lintian's overrides.
set(now "$ENV{SOURCE_DATE_EPOCH}") # CMake dates follow SOURCE_DATE_EPOCH
set(ENV{SOURCE_DATE_EPOCH} ${VELBRIN_SOURCE_DATE_EPOCH})
string(TIMESTAMP VELBRIN_COPYRIGHT_YEARS "%Y" UTC)
string(TIMESTAMP VELBRIN_RELEASE_DATE_RFC2822 "%a, %d %b %Y %H:%M:%S +0000" UTC)
set(ENV{SOURCE_DATE_EPOCH} "${now}")
set(debian ${CMAKE_CURRENT_BINARY_DIR}/debian)
configure_file(debian/copyright.in ${debian}/copyright @ONLY)
foreach(page changelog velbrin.1)
    configure_file(debian/${page}.in ${debian}/${page} @ONLY)
    add_custom_command(OUTPUT ${debian}/${page}.gz
                       COMMAND gzip -9nf -k ${debian}/${page}
                       DEPENDS ${debian}/${page})
endforeach()
add_custom_target(velbrin_debian_docs ALL DEPENDS ${debian}/changelog.gz ${debian}/velbrin.1.gz)
install(FILES ${debian}/copyright ${debian}/changelog.gz
        DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/velbrin)
install(FILES ${debian}/velbrin.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
install(FILES debian/lintian-overrides DESTINATION ${CMAKE_INSTALL_DATADIR}/lintian/overrides
        RENAME velbrin)

# The desktop files must pass the validators that distributions run on them.
find_program(DESKTOP_FILE_VALIDATE desktop-file-validate)
find_program(APPSTREAMCLI appstreamcli)
if(DESKTOP_FILE_VALIDATE)
    add_test(NAME desktop_file_valid
             COMMAND ${DESKTOP_FILE_VALIDATE} ${CMAKE_CURRENT_BINARY_DIR}/${VELBRIN_APP_ID}.desktop)
endif()
if(APPSTREAMCLI)
    add_test(NAME metainfo_valid
             COMMAND ${APPSTREAMCLI} validate --no-net --pedantic
                     ${CMAKE_CURRENT_BINARY_DIR}/${VELBRIN_APP_ID}.metainfo.xml)
endif()
