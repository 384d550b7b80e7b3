# A Debian package of the installed files: `cpack -G DEB` in the build folder.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME dudovuvov)
set(CPACK_PACKAGE_VENDOR Zudedidu)
set(CPACK_PACKAGE_CONTACT "Zudedidu <dudovuvov@zudedidu.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "chooses the five colors of a web page")
set(CPACK_PACKAGE_DESCRIPTION
    "Mixes the background, text and link colors of a web page with sliders, shows them in a preview, copies them as #RRGGBB, and writes the BODY tag or a template page.")
set(CPACK_PACKAGE_HOMEPAGE_URL "http://www.zudedidu.example/")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION web)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# Liberation Sans stands in for the window's sans-serif face.
set(CPACK_DEBIAN_PACKAGE_DEPENDS "fonts-liberation2")
include(CPack)
