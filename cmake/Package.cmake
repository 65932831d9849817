# What scripts/lib/package-deb reads of a program-only build before it makes the users'
# Debian package of it: the release, and whether the build may be packaged at all. It
# reads them here, from the build, rather than from its own arguments, so that a build
# folder configured by hand is packaged as what it is.
#
# What users install must check what it installs: the packaging refuses a program
# built without the vendor's key, unless the build asked for such a package by name
# (scripts/package --unsigned-build-that-trusts-any-catalogue sets this).
option (QUILLON_UNSIGNED_PACKAGE "Let the packaging pack a program built without the vendor's key, which takes any catalogue" OFF)

if (NOT QUILLON_CATALOGUE_PUBLIC_KEY STREQUAL "")
    set (catalogueKey given)
elseif (QUILLON_UNSIGNED_PACKAGE)
    set (catalogueKey none-by-request)
else()
    set (catalogueKey none)
endif()

file (WRITE "${PROJECT_BINARY_DIR}/package-facts"
      "version ${PROJECT_VERSION}\n"
      "catalogue-key ${catalogueKey}\n")
