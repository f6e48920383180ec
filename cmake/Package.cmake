# The Debian package, built from the install rules: `cpack -G DEB` in a build
# directory, or scripts/package.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME lablist)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "Lablist maintainers <maintainers@lablist.invalid>")
set(CPACK_DEBIAN_PACKAGE_SECTION misc)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION
    "customer list and mailing labels for a mail-order business
Lablist keeps a list of catalogue customers for the length of one run, gives
each one an account number made from the last name, the zip code and the
expiration date, and prints mailing labels for one customer or for all of them
on the default printer. Nothing is saved between runs.")
set(CPACK_STRIP_FILES ON)

# The libraries come from the binary's links. What no link shows: a font for
# any text at all; FreeFont's pictures of control characters on labels;
# DejaVu's condensed face, which narrow captions fall back to.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-dejavu-core, fonts-dejavu-extra, fonts-freefont-ttf")
# Labels go to the default printer, which a print server provides.
set(CPACK_DEBIAN_PACKAGE_SUGGESTS cups)

include(CPack)
