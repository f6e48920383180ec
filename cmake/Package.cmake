# The Debian package, built from the install rules: `cpack -G DEB` in a build
# directory, or scripts/package.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME lablist)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Lablist maintainers <maintainers@lablist.invalid>")
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "customer list and mailing labels for a mail-order business
Lablist keeps a list of catalogue customers for the length of one run, gives
each one an account number made from the last name, the zip code and the
expiration date, and prints mailing labels on the default printer, for one
customer or for all of them. Nothing is saved between runs.")
set(CPACK_STRIP_FILES ON)
# Whatever the builder's umask, as Debian expects.
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

# A package depends on the library versions of the release it was built on, so
# its revision names that release: 1.0-1~deb12 sorts before 1.0-1~deb13, so an
# upgrade of the system upgrades the package too, and both before a plain
# 1.0-1, which is what other systems (and Debian testing, which has no number)
# get. Raise LABLIST_DEB_REVISION for a new package of the same version.
set(LABLIST_DEB_REVISION 1)
set(LABLIST_DEB_DISTRIBUTION unstable)
set(LABLIST_DEBIAN_RELEASE "")
cmake_host_system_information(RESULT distrib
    QUERY DISTRIB_ID DISTRIB_VERSION_ID DISTRIB_VERSION_CODENAME)
list(LENGTH distrib distrib_fields)
if(distrib_fields EQUAL 3)
    list(GET distrib 0 distrib_id)
    list(GET distrib 1 distrib_version)
    list(GET distrib 2 distrib_codename)
    if(distrib_id STREQUAL "debian" AND distrib_version MATCHES "^[0-9]+$")
        set(LABLIST_DEBIAN_RELEASE ${distrib_version})
        string(APPEND LABLIST_DEB_REVISION "~deb${distrib_version}")
        if(distrib_codename MATCHES "^[a-z]+$")
            set(LABLIST_DEB_DISTRIBUTION ${distrib_codename})
        endif()
    endif()
endif()
set(CPACK_DEBIAN_PACKAGE_RELEASE ${LABLIST_DEB_REVISION})
set(LABLIST_DEB_VERSION ${PROJECT_VERSION}-${LABLIST_DEB_REVISION})
# lablist_<version>-<revision>_<arch>.deb
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)

# The libraries come from the binary's links. What no link shows: a font for
# any text at all; FreeFont's pictures of control characters on labels;
# DejaVu's condensed face, which narrow captions fall back to.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-dejavu-core, fonts-dejavu-extra, fonts-freefont-ttf")
# From Debian 13 (Qt 6.8) on, Qt draws on a Wayland desktop only through its
# Wayland plugin; without it the program runs through XWayland, if at all.
if(NOT LABLIST_DEBIAN_RELEASE OR LABLIST_DEBIAN_RELEASE GREATER_EQUAL 13)
    set(CPACK_DEBIAN_PACKAGE_RECOMMENDS qt6-wayland)
endif()
# Labels go to the default printer, which a print server provides.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS cups)

# What Debian wants in every package's /usr/share/doc: the licence and the
# package's changelog, compressed without a name or time stamp so that the same
# sources give the same file.
set(LABLIST_PACKAGE_DOCDIR ${CMAKE_INSTALL_DATADIR}/doc/lablist)
install(FILES packaging/copyright DESTINATION ${LABLIST_PACKAGE_DOCDIR})

# The changelog's top entry is this version, for this release, dated the
# release date in the form Debian's changelogs use (RFC 5322, with the day of
# the week: Zeller's congruence, which counts from Saturday).
string(REGEX MATCH "^([0-9]+)-([0-9]+)-([0-9]+)$" date_ok "${LABLIST_RELEASE_DATE}")
if(NOT date_ok)
    message(FATAL_ERROR "LABLIST_RELEASE_DATE is not YYYY-MM-DD: ${LABLIST_RELEASE_DATE}")
endif()
set(day_digits ${CMAKE_MATCH_3})
math(EXPR year "${CMAKE_MATCH_1}")
math(EXPR month "${CMAKE_MATCH_2}")
math(EXPR day "${CMAKE_MATCH_3}")
set(zeller_month ${month})
set(zeller_year ${year})
if(month LESS 3)
    math(EXPR zeller_month "${month} + 12")
    math(EXPR zeller_year "${year} - 1")
endif()
math(EXPR weekday "(${day} + 13 * (${zeller_month} + 1) / 5 + ${zeller_year} + ${zeller_year} / 4 \
    - ${zeller_year} / 100 + ${zeller_year} / 400) % 7")
set(weekday_names Sat Sun Mon Tue Wed Thu Fri)
list(GET weekday_names ${weekday} weekday_name)
math(EXPR month_index "${month} - 1")
set(month_names Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
list(GET month_names ${month_index} month_name)
set(LABLIST_CHANGELOG_DATE "${weekday_name}, ${day_digits} ${month_name} ${year} 12:00:00 +0000")
configure_file(packaging/changelog.in changelog.Debian @ONLY)

find_program(GZIP_PROGRAM gzip REQUIRED)
add_custom_command(OUTPUT changelog.Debian.gz
    COMMAND ${GZIP_PROGRAM} -9nkf changelog.Debian
    DEPENDS ${CMAKE_CURRENT_BINARY_DIR}/changelog.Debian
    COMMENT "Compressing the package's changelog")
add_custom_target(lablist_changelog ALL DEPENDS ${CMAKE_CURRENT_BINARY_DIR}/changelog.Debian.gz)
install(FILES ${CMAKE_CURRENT_BINARY_DIR}/changelog.Debian.gz DESTINATION ${LABLIST_PACKAGE_DOCDIR})

include(CPack)
