# `cmake --build build --target package`: three Debian packages of the components installed above, under /usr.
set(VISDK_PACKAGE_MAINTAINER "VISDKCppBridge Maintainers <maintainers@visdkcppbridge.example.org>"
  CACHE STRING "Maintainer of the Debian packages, as 'Name <address>'")

set(VISDK_PACKAGE_library libvisdkcppbridge${PROJECT_VERSION_MAJOR})
set(VISDK_PACKAGE_development libvisdkcppbridge-dev)
set(VISDK_PACKAGE_cli visdk)

# The release's date, in the changelog and the manual page alike.
set(VISDK_RELEASE_EPOCH 1796817600)
set(VISDK_RELEASE_DATE "Wed, 09 Dec 2026 12:00:00 +0000")

# Every package carries its own copyright and changelog; Debian's tools want the changelog compressed without a
# name or time stamp, so that the same text always gives the same bytes.
configure_file(${CMAKE_CURRENT_LIST_DIR}/debian/copyright.in ${CMAKE_BINARY_DIR}/debian/copyright @ONLY)
configure_file(${CMAKE_CURRENT_LIST_DIR}/debian/changelog.in ${CMAKE_BINARY_DIR}/debian/changelog @ONLY)
find_program(VISDK_GZIP gzip REQUIRED)
add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/debian/changelog.gz
  COMMAND ${VISDK_GZIP} -9nfk ${CMAKE_BINARY_DIR}/debian/changelog
  DEPENDS ${CMAKE_BINARY_DIR}/debian/changelog VERBATIM)
add_custom_target(visdk_debian_changelog ALL DEPENDS ${CMAKE_BINARY_DIR}/debian/changelog.gz)
foreach(component library development cli)
  install(FILES ${CMAKE_BINARY_DIR}/debian/copyright ${CMAKE_BINARY_DIR}/debian/changelog.gz
    DESTINATION ${CMAKE_INSTALL_DATAROOTDIR}/doc/${VISDK_PACKAGE_${component}} COMPONENT ${component})
endforeach()

# The CLI's manual page is its --help, so the two cannot drift apart.
find_program(VISDK_HELP2MAN help2man)
if(VISDK_HELP2MAN)
  add_custom_command(OUTPUT ${CMAKE_BINARY_DIR}/debian/visdk.1.gz
    COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=detect_leaks=0 SOURCE_DATE_EPOCH=${VISDK_RELEASE_EPOCH}
      ${VISDK_HELP2MAN} --no-info --version-string=${PROJECT_VERSION} --section=1
      "--name=drive vSphere through VISDKCppBridge from the shell"
      --output=${CMAKE_BINARY_DIR}/debian/visdk.1 $<TARGET_FILE:visdk>
    COMMAND ${VISDK_GZIP} -9nf ${CMAKE_BINARY_DIR}/debian/visdk.1
    DEPENDS visdk VERBATIM)
  add_custom_target(visdk_manual ALL DEPENDS ${CMAKE_BINARY_DIR}/debian/visdk.1.gz)
  install(FILES ${CMAKE_BINARY_DIR}/debian/visdk.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 COMPONENT cli)
else()
  message(WARNING "help2man was not found: visdk gets no manual page (.ci/install-deps installs it)")
endif()

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME visdkcppbridge)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "${VISDK_PACKAGE_MAINTAINER}")
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEB_COMPONENT_INSTALL ON)
set(CPACK_COMPONENTS_ALL library development cli)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SOURCE visdkcppbridge)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_ENABLE_COMPONENT_DEPENDS ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${CMAKE_LIBRARY_OUTPUT_DIRECTORY})

set(CPACK_DEBIAN_LIBRARY_PACKAGE_NAME ${VISDK_PACKAGE_library})
set(CPACK_DEBIAN_LIBRARY_PACKAGE_SECTION libs)
# A shlibs file for the hosts' own packages, and ldconfig run by trigger as Debian asks. CPack still adds postinst and
# postrm scripts that call ldconfig for any library under /usr/lib; they are redundant, not wrong.
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS ON)
set(CPACK_DEBIAN_PACKAGE_GENERATE_SHLIBS_POLICY ">=")
set(CPACK_DEBIAN_LIBRARY_PACKAGE_CONTROL_EXTRA ${CMAKE_CURRENT_LIST_DIR}/debian/triggers)
# The runtime is loaded with dlopen, so only this list names it.
set(CPACK_DEBIAN_LIBRARY_PACKAGE_DEPENDS "libmonosgen-2.0-1, libmono-corlib4.5-cil, mono-runtime-common, libmono-system4.0-cil, libmono-system-core4.0-cil, libmono-system-xml4.0-cil, libmono-system-runtime-serialization4.0-cil")
set(CPACK_COMPONENT_LIBRARY_DESCRIPTION "native C++ bridge to the managed vSphere client
VISDKCppBridge lets a native host program, such as a backup engine, drive
vSphere: it embeds the Mono runtime, loads the managed client assembly
VISDKWrapper.dll installed beside it and forwards each operation of its C++
class to the managed client. Nothing is thrown out of the library; every
failure is logged with its text.

The client assembly carries a simulated vCenter for development and tests.")

set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_NAME ${VISDK_PACKAGE_development})
set(CPACK_DEBIAN_DEVELOPMENT_PACKAGE_SECTION libdevel)
set(CPACK_COMPONENT_DEVELOPMENT_DEPENDS library)
set(CPACK_COMPONENT_DEVELOPMENT_DESCRIPTION "native C++ bridge to the managed vSphere client - development files
VISDKCppBridge lets a native host program, such as a backup engine, drive
vSphere through the managed client assembly VISDKWrapper.dll.

This package holds the headers, included as <VISDKCppBridge/...>, the
CMake package (find_package(VISDKCppBridge)) and the pkg-config file.")

set(CPACK_DEBIAN_CLI_PACKAGE_NAME ${VISDK_PACKAGE_cli})
set(CPACK_DEBIAN_CLI_PACKAGE_SECTION admin)
set(CPACK_COMPONENT_CLI_DEPENDS library)
set(CPACK_COMPONENT_CLI_DESCRIPTION "command-line client for vSphere through VISDKCppBridge
visdk runs VISDKCppBridge's operations from the shell: sessions, power,
snapshots, incremental backup passes with changed-block tracking,
datastore files, guest operations, inventory, tags, custom fields,
relocation, cloning and OVF import. It prints text or JSON.

Without a server it works against the simulated vCenter of the client
assembly, which can keep its state between runs.")

include(CPack)
