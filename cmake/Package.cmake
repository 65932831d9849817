# The users' Debian package, made by CPack from a program-only build (scripts/package deb):
# quillon, quillon-cli, the desktop entry, the icon and the man page. The vendor's
# quillon-catalogue is a component of its own and stays out of it.
set (CPACK_GENERATOR DEB)
set (CPACK_PACKAGE_NAME quillon)
set (CPACK_PACKAGE_VENDOR Tesmar)
set (QUILLON_PACKAGE_MAINTAINER "Tesmar <support@tesmar-audio.com>" CACHE STRING
     "The Debian package's Maintainer: the name and address that answer for it")
set (CPACK_PACKAGE_CONTACT "${QUILLON_PACKAGE_MAINTAINER}")
set (CPACK_PACKAGE_DESCRIPTION_SUMMARY "Firmware updater for Calvio and Brisma MIDI effects devices")
string (CONCAT CPACK_PACKAGE_DESCRIPTION
        "Quillon leads the owner of a Calvio or Brisma effects device connected over MIDI\n"
        "through one firmware update: it fetches the catalogue of firmware revisions,\n"
        "finds and identifies the devices over SysEx, downloads the image and writes it\n"
        "into the device. quillon-cli does the same from the command line.")
set (CPACK_RESOURCE_FILE_LICENSE "${PROJECT_SOURCE_DIR}/LICENSE")

set (CPACK_COMPONENTS_ALL program)
set (CPACK_DEB_COMPONENT_INSTALL ON)
set (CPACK_COMPONENTS_GROUPING ALL_COMPONENTS_IN_ONE)
set (CPACK_STRIP_FILES ON)
set (CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set (CPACK_DEBIAN_PACKAGE_SECTION sound)
set (CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)

# dpkg-shlibdeps sees only what is linked. JUCE opens the X11 libraries by name at run
# time, and finds its fonts through fontconfig's configuration file, so those are named
# here; the package's other dependencies come from the linked libraries.
set (CPACK_DEBIAN_PACKAGE_DEPENDS
     "libx11-6, libxext6, libxcursor1, libxinerama1, libxrender1, libxrandr2, fontconfig-config")

# What users install must check what it installs: cpack itself refuses to pack a program
# built without the vendor's key, unless the build asked for such a package by name
# (scripts/package --unsigned-build-that-trusts-any-catalogue sets this).
option (QUILLON_UNSIGNED_PACKAGE "Let cpack pack a program built without the vendor's key, which takes any catalogue" OFF)
set (CPACK_PROJECT_CONFIG_FILE "${PROJECT_BINARY_DIR}/PackageKeyCheck.cmake")

if (QUILLON_CATALOGUE_PUBLIC_KEY STREQUAL "" AND NOT QUILLON_UNSIGNED_PACKAGE)
    file (WRITE "${CPACK_PROJECT_CONFIG_FILE}"
          "message (FATAL_ERROR \"This build has no QUILLON_CATALOGUE_PUBLIC_KEY: its program would take any catalogue. \"\n"
          "                     \"Package it with scripts/package and the vendor's public key \"\n"
          "                     \"(or -DQUILLON_UNSIGNED_PACKAGE=ON for a test package that trusts any catalogue).\")\n")
else()
    file (WRITE "${CPACK_PROJECT_CONFIG_FILE}" "")
endif()

include (CPack)
