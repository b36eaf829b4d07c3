# The Debian package: `cpack -G DEB` in the build folder makes
# tarn_<version>_<arch>.deb, installed under /usr. Its dependencies on shared
# libraries (Qt, libxlsxwriter, the C++ library) are found by dpkg-shlibdeps.
set(TARN_PACKAGE_MAINTAINER "Tarn developers" CACHE STRING "The Maintainer field of the Debian package")

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tarn)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "${PROJECT_DESCRIPTION}")
set(CPACK_PACKAGE_DESCRIPTION
    "Tarn simulates equilibria in solution: titrations and species distributions from a model of reagents, "
    "complexes with their formation constants and solids with their solubility products, shown as speciation "
    "plots, tables of concentrations, single data points and conditional constants. tarn-cli calculates "
    "projects from scripts.")
string(JOIN "" CPACK_PACKAGE_DESCRIPTION ${CPACK_PACKAGE_DESCRIPTION})
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_MAINTAINER "${TARN_PACKAGE_MAINTAINER}")
set(CPACK_DEBIAN_PACKAGE_SECTION science)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
# The plots and tables name "Arial": Liberation Sans has its metrics.
set(CPACK_DEBIAN_PACKAGE_RECOMMENDS "fonts-liberation2")
include(CPack)
