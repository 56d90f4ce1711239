# What a user gets beyond the programs: manual pages, desktop metadata, bash
# completion, the Debian documentation; and the Debian package made of it all
# (scripts/package runs CPack).

# Who answers for the package: whoever builds it for others sets their own
# name and address. The default names no one: example.org is reserved for
# examples (RFC 2606), and lintian takes it as a well-formed address.
set(RADIOINFO_MAINTAINER_NAME "radioinfo maintainers" CACHE STRING
    "Maintainer's name in the Debian package and its changelog")
set(RADIOINFO_MAINTAINER_EMAIL "radioinfo@example.org" CACHE STRING
    "Maintainer's mail address in the Debian package and its changelog")
if(NOT RADIOINFO_MAINTAINER_NAME MATCHES "^[^<>,@]+$")
  message(FATAL_ERROR "RADIOINFO_MAINTAINER_NAME \"${RADIOINFO_MAINTAINER_NAME}\": "
                      "a name, without <, >, @ or a comma")
endif()
if(NOT RADIOINFO_MAINTAINER_EMAIL MATCHES "^[^<>,@ ]+@[^<>,@ ]+\\.[^<>,@ ]+$")
  message(FATAL_ERROR "RADIOINFO_MAINTAINER_EMAIL \"${RADIOINFO_MAINTAINER_EMAIL}\": "
                      "a mail address such as name@example.org")
endif()
set(maintainer "${RADIOINFO_MAINTAINER_NAME} <${RADIOINFO_MAINTAINER_EMAIL}>")

# Debian wants manual pages and changelogs compressed with gzip -9n (no name,
# no time stamp), so the package is the same whenever it is built.
set(compressed_docs)
foreach(page radioinfo radioinfo-cli radio-sim)
  set(source ${PROJECT_SOURCE_DIR}/data/man/${page}.1)
  set(gz ${CMAKE_BINARY_DIR}/man/${page}.1.gz)
  add_custom_command(OUTPUT ${gz}
      COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/man
      COMMAND gzip -9n -c ${source} > ${gz}
      DEPENDS ${source} VERBATIM)
  list(APPEND compressed_docs ${gz})
  install(FILES ${gz} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endforeach()
# The changelog's entries are signed by the maintainer configured above.
set(changelog ${CMAKE_BINARY_DIR}/changelog)
configure_file(data/debian/changelog ${changelog} @ONLY)
set(changelog_gz ${changelog}.gz)
add_custom_command(OUTPUT ${changelog_gz}
    COMMAND gzip -9n -c ${changelog} > ${changelog_gz}
    DEPENDS ${changelog} VERBATIM)
list(APPEND compressed_docs ${changelog_gz})
add_custom_target(radioinfo-docs ALL DEPENDS ${compressed_docs})

install(FILES ${changelog_gz} data/debian/copyright DESTINATION ${CMAKE_INSTALL_DOCDIR})
# Named after its component's id, as software centres look it up.
install(FILES data/radioinfo.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo
        RENAME org.example.radioinfo.metainfo.xml)
install(FILES data/bash-completion/radioinfo-cli
        DESTINATION ${CMAKE_INSTALL_DATADIR}/bash-completion/completions)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME radioinfo)
set(CPACK_PACKAGE_VENDOR "The radioinfo maintainers")
set(CPACK_PACKAGE_CONTACT "${maintainer}")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "dealers' service tool for the KVT4610 radio")
# The synopsis is the summary above; CPack indents these lines and turns the
# empty one into the paragraph mark.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "Through the programming cable on a serial port, radioinfo reads the
information area of a KVT4610 dual-band handheld radio (model, versions,
band, serial number, dates, codes, dealer data, password and flags) into
one window, and writes back the dealer settings, the programming password,
the transmit band and the Freq. Set, Stun and Kill flags.

radioinfo-cli does the same from scripts; radio-sim simulates a radio for
trying the tools without one.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT) # radioinfo_<version>_amd64.deb
set(CPACK_DEBIAN_PACKAGE_SECTION hamradio)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The libraries come from the binaries (dpkg-shlibdeps); Qt loads its X11
# platform plugin at run time, which no binary names.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins")
# Arial's metric twin for the measured layout, the Chinese glyphs, Qt's own
# Chinese texts (the message boxes' buttons) and its native Wayland platform
# plugin (without it Qt falls back to X on a Wayland session, with a warning).
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS
    "fonts-liberation2, fonts-noto-cjk, qt6-translations-l10n, qt6-wayland")
set(CPACK_STRIP_FILES ON)
# CPack's strip leaves the compiler's .comment and the .note section in the
# programs; Debian's dh_strip takes them out as well, and so do we.
foreach(program radioinfo radioinfo-cli radio-sim)
  if(TARGET ${program} AND CMAKE_STRIP)
    install(CODE "
      if(CMAKE_INSTALL_DO_STRIP)
        execute_process(COMMAND \"${CMAKE_STRIP}\" --remove-section=.comment --remove-section=.note
            \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${CMAKE_INSTALL_BINDIR}/$<TARGET_FILE_NAME:${program}>\"
            COMMAND_ERROR_IS_FATAL ANY)
      endif()")
  endif()
endforeach()
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
include(CPack)
