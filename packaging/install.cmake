# SPDX-License-Identifier: GPL-3.0-or-later
# Installed like a Debian game: the launcher "zelvanos" and the programs a
# player runs in games/, the game itself and its helpers in lib/zelvanos/
# (off the PATH), the question sets and sounds in share/games/zelvanos/, and
# the desktop entry, icon, AppStream metainfo, manual pages (English and
# Hungarian), changelog and copyright file in their usual places. Each of
# the three folders below is relative to the install prefix and can be set.
include(GNUInstallDirs)
set(ZELVANOS_INSTALL_GAMESDIR games CACHE STRING
    "Folder, below the prefix, of the launcher and the programs a player runs")
set(ZELVANOS_INSTALL_LIBEXECDIR lib/zelvanos CACHE STRING
    "Folder, below the prefix, of the game itself and its helpers")
set(ZELVANOS_INSTALL_GAMEDATADIR ${CMAKE_INSTALL_DATADIR}/games/zelvanos CACHE STRING
    "Folder, below the prefix, of the question sets and sounds")
foreach(dir GAMESDIR LIBEXECDIR GAMEDATADIR)
  if(IS_ABSOLUTE "${ZELVANOS_INSTALL_${dir}}")
    message(FATAL_ERROR "ZELVANOS_INSTALL_${dir} must be relative to the install prefix")
  endif()
endforeach()
set(ZELVANOS_APP_ID example.zelvanos.Zelvanos)

# The launcher finds the game and its data relative to its own folder, so
# an installation under any prefix (or DESTDIR) works as it is.
file(RELATIVE_PATH ZELVANOS_LAUNCHER_TO_DATA /prefix/${ZELVANOS_INSTALL_GAMESDIR}
     /prefix/${ZELVANOS_INSTALL_GAMEDATADIR})
file(RELATIVE_PATH ZELVANOS_LAUNCHER_TO_LIBEXEC /prefix/${ZELVANOS_INSTALL_GAMESDIR}
     /prefix/${ZELVANOS_INSTALL_LIBEXECDIR})
configure_file(${CMAKE_CURRENT_LIST_DIR}/zelvanos.sh ${CMAKE_BINARY_DIR}/packaging/zelvanos @ONLY)
# The names program lies beside the launcher and finds the data the same way.
set(ZELVANOS_DATA_FROM_BIN ${ZELVANOS_LAUNCHER_TO_DATA})
target_compile_definitions(zelvanos-beallitasok PRIVATE ZELVANOS_DATA_FROM_BIN="${ZELVANOS_DATA_FROM_BIN}")

install(PROGRAMS ${CMAKE_BINARY_DIR}/packaging/zelvanos DESTINATION ${ZELVANOS_INSTALL_GAMESDIR})
install(TARGETS zelvanos-beallitasok zelvanos-questions RUNTIME DESTINATION ${ZELVANOS_INSTALL_GAMESDIR})
# The replay tool is for developers: installed, but off the player's PATH.
install(TARGETS zelvanos zelvanos-factory-files zelvanos-replay RUNTIME DESTINATION ${ZELVANOS_INSTALL_LIBEXECDIR})
install(DIRECTORY ${ZELVANOS_RUN_DIR}/Questions DESTINATION ${ZELVANOS_INSTALL_GAMEDATADIR})
install(FILES ${ZELVANOS_SOUND_FILES} DESTINATION ${ZELVANOS_INSTALL_GAMEDATADIR}/Sounds)

# The desktop entry starts the launcher by its full path (a desktop
# session's PATH need not hold the games folder); the path is the one of
# the prefix the installation is made for.
install(CODE "
  set(ZELVANOS_LAUNCHER \"\${CMAKE_INSTALL_PREFIX}/${ZELVANOS_INSTALL_GAMESDIR}/zelvanos\")
  configure_file(\"${CMAKE_CURRENT_LIST_DIR}/zelvanos.desktop\" \"${CMAKE_BINARY_DIR}/packaging/zelvanos.desktop\" @ONLY)")
install(FILES ${CMAKE_BINARY_DIR}/packaging/zelvanos.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES ${CMAKE_CURRENT_LIST_DIR}/zelvanos.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size 16 22 24 32 48 64 128 256)
  install(FILES ${CMAKE_CURRENT_LIST_DIR}/icons/${size}x${size}/zelvanos.png
          DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
endforeach()
install(FILES ${CMAKE_CURRENT_LIST_DIR}/zelvanos.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo
        RENAME ${ZELVANOS_APP_ID}.metainfo.xml)

# Manual pages and the changelog, compressed as Debian wants them.
find_program(ZELVANOS_GZIP gzip REQUIRED)
set(ZELVANOS_COMPRESSED)
function(zelvanos_compressed source output)
  add_custom_command(OUTPUT ${output}
    COMMAND sh -c "\"$0\" -9n <\"$1\" >\"$2\"" ${ZELVANOS_GZIP} ${source} ${output}
    DEPENDS ${source} VERBATIM)
  set(ZELVANOS_COMPRESSED ${ZELVANOS_COMPRESSED} ${output} PARENT_SCOPE)
endfunction()
set(ZELVANOS_FULL_GAMEDATADIR ${CMAKE_INSTALL_PREFIX}/${ZELVANOS_INSTALL_GAMEDATADIR})
foreach(page zelvanos.6 zelvanos-beallitasok.6 zelvanos-questions.6)
  foreach(lang IN ITEMS "" hu)
    set(folder ${CMAKE_BINARY_DIR}/packaging/man/${lang})
    configure_file(${CMAKE_SOURCE_DIR}/man/${lang}/${page} ${folder}/${page} @ONLY)
    zelvanos_compressed(${folder}/${page} ${folder}/${page}.gz)
    if(lang)
      install(FILES ${folder}/${page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/${lang}/man6)
    else()
      install(FILES ${folder}/${page}.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man6)
    endif()
  endforeach()
endforeach()
zelvanos_compressed(${CMAKE_CURRENT_LIST_DIR}/changelog ${CMAKE_BINARY_DIR}/packaging/changelog.gz)
add_custom_target(packaging_files ALL DEPENDS ${ZELVANOS_COMPRESSED})
install(FILES ${CMAKE_BINARY_DIR}/packaging/changelog.gz ${CMAKE_CURRENT_LIST_DIR}/copyright README.md
        DESTINATION ${CMAKE_INSTALL_DOCDIR})

# The Debian package: cpack in the build folder (scripts/package does it
# with Debian's hardening flags). Its dependencies are computed from the
# programs' libraries; a package without them is refused.
set(CPACK_GENERATOR DEB)
set(CPACK_PACKAGE_NAME zelvanos)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_CONTACT "Zelvanos fejlesztők <zelvanos@zelvanos.example>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "Hungarian quiz game in the manner of a television quiz show")
set(CPACK_PACKAGE_DESCRIPTION "Legyen Ön is Zelvanos: a single-player quiz game. Ten questions with four\n\
answers each lead up to 1 500 000 000 Ft, with three lifelines (telephone,\n\
50:50, audience), a high-score list, five question sets, music and sound\n\
effects. All its texts are Hungarian.")
set(CPACK_DEBIAN_PACKAGE_SECTION games)
set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
set(CPACK_DEBIAN_PACKAGE_CONTROL_STRICT_PERMISSION ON)
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS
    OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CPACK_STRIP_FILES ON)
set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
set(CPACK_PACKAGING_INSTALL_PREFIX /usr)
set(CPACK_POST_BUILD_SCRIPTS ${CMAKE_CURRENT_LIST_DIR}/check_package.cmake)
include(CPack)
