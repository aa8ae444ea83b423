# Installation and the Debian package.
#
# The programs and their private libraries go into one folder, lib/zarno, because the programs load
# libvelnet.so, libDravik.so and (zarno-cli, for the commands that draw) libzarno-cli-draw.so by name
# from their own folder first, and link libTovelUtils.so through
# a RUNPATH of $ORIGIN: no absolute path of the build is left in an installed binary. bin/ holds
# symbolic links to the programs (they resolve /proc/self/exe, so their own folder stays lib/zarno).

include(GNUInstallDirs)
set(ZARNO_INSTALL_PRIVATE lib/zarno)
set(ZARNO_PROGRAMS zarno zarno-cli zarno-device)

install(TARGETS ${ZARNO_PROGRAMS} zarno_cli_draw velnet Dravik TovelUtils TovelUtilsEditor
    RUNTIME DESTINATION ${ZARNO_INSTALL_PRIVATE}
    LIBRARY DESTINATION ${ZARNO_INSTALL_PRIVATE})
foreach(program IN LISTS ZARNO_PROGRAMS)
    install(CODE "
        set(link \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/${program}\")
        file(MAKE_DIRECTORY \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}\")
        file(CREATE_LINK ../${ZARNO_INSTALL_PRIVATE}/${program} \"\${link}\" SYMBOLIC)")
endforeach()

install(FILES ${PROJECT_SOURCE_DIR}/packaging/zarno.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/zarno-mime.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages
    RENAME zarno.xml)
install(FILES ${PROJECT_SOURCE_DIR}/packaging/zarno.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size 16 32 48 64 128 256)
    install(FILES ${PROJECT_SOURCE_DIR}/packaging/icons/zarno-${size}.png
        DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps RENAME zarno.png)
endforeach()
install(FILES ${PROJECT_SOURCE_DIR}/README.md DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/zarno)

# Manual pages, made from the programs' own --help and --version texts so that they never disagree.
find_program(HELP2MAN help2man REQUIRED)
set(man_dir ${PROJECT_BINARY_DIR}/man)
set(man_pages "")
set(man_name_zarno "desktop program for the pile-testing instrument's recordings")
set(man_name_zarno-cli "command-line conversion, measurement and instrument disk commands")
set(man_name_zarno-device "simulator of the pile-testing instrument's disk")
foreach(program IN LISTS ZARNO_PROGRAMS)
    set(page ${man_dir}/${program}.1)
    add_custom_command(OUTPUT ${page}.gz
        COMMAND ${CMAKE_COMMAND} -E make_directory ${man_dir}
        COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen
                ${HELP2MAN} --no-info --no-discard-stderr --section=1 --source=Zarno
                --name=${man_name_${program}} --output=${page} $<TARGET_FILE:${program}>
        COMMAND gzip -9 -n -f ${page}
        DEPENDS ${program}
        COMMENT "Manual page of ${program}"
        VERBATIM)
    list(APPEND man_pages ${page}.gz)
    install(FILES ${page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()
add_custom_target(man_pages ALL DEPENDS ${man_pages})

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zarno)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "computer side of the pile-testing instrument")
set(CPACK_PACKAGE_DESCRIPTION "Zarno talks to the pile-testing instrument over a serial line or UDP, \
shows its disk beside the computer's in a two-panel file manager, copies and converts its DDB \
recordings to SEG-Y, shows signals and spectra with gain and filters, finds the pile toe reflection, \
turns it into a pile length and prints or saves a report.")
set(CPACK_PACKAGE_CONTACT "Zarno developers <zarno@localhost>")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${PROJECT_BINARY_DIR}/bin)
# Fonts are opened as files at run time, so no shared library names them.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation")
# A computer file that is not a recording opens with the desktop's program through xdg-open; without
# it the user is told that the file could not be opened.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "xdg-utils")
include(CPack)
