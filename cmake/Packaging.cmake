# `make package`: one Debian package (CPack DEB) with the LV2 plug-in in /usr/lib/lv2, the VST 3
# plug-in in /usr/lib/vst3 and tavo-host in /usr/bin. tavo-host finds its module beside the
# program it really is (/usr/lib/tavo/tavo-host, /usr/bin/tavo-host being a link to it) and the
# engine libraries there through its run path.
if(WIN32 OR TAVO_FUZZ OR NOT TARGET tavo-host OR NOT TARGET tavo_lv2_bundle
   OR NOT TARGET tavo_vst3_bundle)
  return()
endif()

set(private_dir lib/tavo)
set(library_permissions OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
set_target_properties(tavo-host PROPERTIES INSTALL_RPATH "$ORIGIN")
install(TARGETS tavo-host RUNTIME DESTINATION ${private_dir})
install(TARGETS TAVO DAE DigiExt DSI DSPManager LIBRARY DESTINATION ${private_dir}
        PERMISSIONS ${library_permissions})
install(CODE "file(MAKE_DIRECTORY \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/bin\")
file(CREATE_LINK ../${private_dir}/tavo-host \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/bin/tavo-host\" SYMBOLIC)")
# The bundles' binaries as targets, so that the package gets them stripped.
install(TARGETS tavo_lv2_bundle LIBRARY DESTINATION lib/lv2/TAVO.lv2
        PERMISSIONS ${library_permissions})
install(FILES ${TAVO_LV2_BUNDLE}/manifest.ttl ${TAVO_LV2_BUNDLE}/TAVO.ttl
        DESTINATION lib/lv2/TAVO.lv2)
install(TARGETS tavo_vst3_bundle
        LIBRARY DESTINATION lib/vst3/TAVO.vst3/Contents/${CMAKE_SYSTEM_PROCESSOR}-linux
        PERMISSIONS ${library_permissions})

# The manual page and the changelog go in compressed, as Debian keeps them.
set(packaging ${CMAKE_SOURCE_DIR}/packaging)
set(compressed ${CMAKE_CURRENT_BINARY_DIR}/packaging)
add_custom_command(
  OUTPUT ${compressed}/tavo-host.1.gz ${compressed}/changelog.gz
  COMMAND ${CMAKE_COMMAND} -E make_directory ${compressed}
  COMMAND gzip -9nc ${packaging}/tavo-host.1 > ${compressed}/tavo-host.1.gz
  COMMAND gzip -9nc ${packaging}/changelog > ${compressed}/changelog.gz
  DEPENDS ${packaging}/tavo-host.1 ${packaging}/changelog
  COMMENT "Compressing the manual page and the changelog")
add_custom_target(tavo_package_docs ALL DEPENDS ${compressed}/tavo-host.1.gz ${compressed}/changelog.gz)
install(FILES ${compressed}/tavo-host.1.gz DESTINATION share/man/man1)
install(FILES ${compressed}/changelog.gz ${packaging}/copyright DESTINATION share/doc/tavo)

set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME tavo)
set(CPACK_PACKAGE_VENDOR Quenstrel)
set(CPACK_PACKAGE_CONTACT "Quenstrel <tavo@quenstrel.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "saturation audio effect as LV2 and VST 3 plug-ins")
set(CPACK_PACKAGE_DESCRIPTION "TAVO is a saturation (drive) effect for mono and stereo tracks with an editor
of its own. This package holds the LV2 plug-in, the VST 3 plug-in and
tavo-host, which renders sound files through the effect from the command
line.")
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_DEBIAN_PACKAGE_SECTION sound)
set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS_PRIVATE_DIRS ${CMAKE_BINARY_DIR}/host/engine)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_STRIP_FILES ON)
set(CPACK_SET_DESTDIR OFF)
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
include(CPack)
