# The Debian package: `make package` gives build/qorvel3d_VERSION_ARCH.deb. On
# Windows the package is a ZIP of the portable folder.
if(WIN32)
    set(CPACK_GENERATOR ZIP)
else()
    set(CPACK_GENERATOR DEB)
    set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
endif()
set(CPACK_PACKAGE_NAME qorvel3d)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Qorvel Studio")
# The package's maintainer, also the Debian one.
set(CPACK_PACKAGE_CONTACT "Qorvel Studio <kf@qorvel3d.example>")
set(CPACK_OUTPUT_FILE_PREFIX ${CMAKE_BINARY_DIR})
set(CPACK_STRIP_FILES ON)
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "betting plans for three-digit lotteries")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_HOMEPAGE "https://www.qorvel3d.example")
set(CPACK_DEBIAN_PACKAGE_SECTION utils)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
# The summary above is the synopsis; this is the long description.
set(CPACK_DEBIAN_PACKAGE_DESCRIPTION "Qorvel3D is a desktop tool for players of three-digit lotteries (3D, Pick-3,
shishicai). After each draw it works out the next period's plan and lists the
numbers to bet on; its planner tabulates the smallest multiple per period, and
its history replay shows how the plan and the multiples would have fared on
past draws, beside the odds under random draws. Its interface is Chinese.")
# The libraries are found from the programs; what Qt loads at run time is named:
# the X11 platform plugin, Qt's Chinese translation and a Chinese font.
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_DEPENDS "qt6-qpa-plugins, qt6-translations-l10n, fonts-wqy-zenhei")
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
include(CPack)
