# The Debian package (scripts/package). Libraries come from what the program
# and its helper link (dpkg-shlibdeps); what they load or read without
# linking is named here: Qt's image format plugins (TIFF, WebP), the SVG
# renderer, the Japanese font of the captions and the fonts libwmf draws
# metafile text with.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME orvanta)
set(CPACK_PACKAGE_VENDOR "The Orvanta developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "graph digitiser: turns a picture of a graph back into numbers")
set(CPACK_PACKAGE_DESCRIPTION "Orvanta reads the points of a printed or plotted graph from a picture of it \
(bitmap, JPEG, GIF, PNG, TIFF, WebP, EMF, WMF): by hand, or by tracing a curve. The user interface is Japanese.")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "The Orvanta developers")
set(CPACK_DEBIAN_PACKAGE_SECTION graphics)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE ${ORVANTA_HOMEPAGE})
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS
  "qt6-image-formats-plugins, fonts-noto-cjk, fonts-urw-base35")
# The X11 platform plugin ships with libqt6gui6, which the program links;
# under Wayland the program runs through XWayland without this one.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "qt6-wayland")
include(CPack)
