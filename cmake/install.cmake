# Where `cmake --install` and the Debian package put the programs and their files. The build folder
# keeps working as it is: these rules only copy.
include(GNUInstallDirs)

# Installing (and so cpack) takes the programs as built and never starts a build of everything, the
# tests and benchmarks included: scripts/package builds what the package holds first.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)

# talikcli starts its helpers (talikcli-print, talikcli-printer, talikcli-sync) from its own folder,
# and the address book looks for Talikad2 beside itself first: all of them go to bin/.
install(TARGETS talik32 Talikad2 talikcli talikcli-print talikcli-printer talikcli-sync RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
# The sync module talik32 loads from its own folder.
install(TARGETS talik32_sync LIBRARY DESTINATION ${CMAKE_INSTALL_BINDIR})

# share/talik/ holds what the programs only read (help files, label-sheet presets). Its presence
# also tells an installed copy that its program folder is not the user's to write in.
set(TALIK_INSTALL_DATADIR ${CMAKE_INSTALL_DATADIR}/talik)
install(DIRECTORY DESTINATION ${TALIK_INSTALL_DATADIR})
file(GLOB_RECURSE TALIK_SHARED_FILES CONFIGURE_DEPENDS
  ${PROJECT_SOURCE_DIR}/resources/*.HLP ${PROJECT_SOURCE_DIR}/resources/*.hlp
  ${PROJECT_SOURCE_DIR}/resources/*.PR2 ${PROJECT_SOURCE_DIR}/resources/*.pr2
  ${PROJECT_SOURCE_DIR}/resources/talik.ini)
if(TALIK_SHARED_FILES)
  install(FILES ${TALIK_SHARED_FILES} DESTINATION ${TALIK_INSTALL_DATADIR})
endif()

# The postal code index compiled from Japan Post's list at build time.
install(FILES ${TALIK_POSTAL_INDEX} DESTINATION ${TALIK_INSTALL_DATADIR})

# The alias of the stored font names for other programs; fontconfig's conf.d link turns it on.
install(FILES resources/fontconfig/65-talik-ms-fonts.conf DESTINATION ${CMAKE_INSTALL_DATADIR}/fontconfig/conf.avail)

# Desktop integration: the menu entry, the dialler's entry without a menu place, the icons and the
# software-centre description.
install(FILES resources/talik32.desktop resources/Talikad2.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
install(FILES resources/icons/talik32.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
foreach(size 48 128)
  install(FILES resources/icons/talik32-${size}.png DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps
          RENAME talik32.png)
endforeach()
install(FILES resources/metainfo/org.talik.talik32.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)

# Manual pages, compressed as Debian keeps them.
find_program(GZIP_PROGRAM gzip REQUIRED)
foreach(page talik32.1 talikcli.1 Talikad2.1)
  set(compressed ${CMAKE_CURRENT_BINARY_DIR}/man/${page}.gz)
  add_custom_command(OUTPUT ${compressed}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_CURRENT_BINARY_DIR}/man
    COMMAND ${GZIP_PROGRAM} -9 -n -c ${PROJECT_SOURCE_DIR}/resources/man/${page} > ${compressed}
    DEPENDS ${PROJECT_SOURCE_DIR}/resources/man/${page} VERBATIM)
  list(APPEND TALIK_MAN_PAGES ${compressed})
endforeach()
add_custom_target(man_pages ALL DEPENDS ${TALIK_MAN_PAGES})
install(FILES ${TALIK_MAN_PAGES} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
