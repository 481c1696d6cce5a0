# SPDX-License-Identifier: GPL-3.0-or-later
# The Debian release the build machine runs: what is built here is for it.
# VIRTALAB_DEBIAN_RELEASE is its number (12, 13) and VIRTALAB_DEBIAN_CODENAME
# its name (bookworm, trixie); both are empty on any other system.
cmake_host_system_information(RESULT vl_distribution QUERY DISTRIB_ID)
set(VIRTALAB_DEBIAN_RELEASE "")
set(VIRTALAB_DEBIAN_CODENAME "")
if(vl_distribution STREQUAL "debian")
    cmake_host_system_information(RESULT VIRTALAB_DEBIAN_RELEASE QUERY DISTRIB_VERSION_ID)
    cmake_host_system_information(RESULT VIRTALAB_DEBIAN_CODENAME QUERY DISTRIB_VERSION_CODENAME)
endif()
unset(vl_distribution)
