# What the platform's layout installs besides the programs and their data, so that the desktop
# knows the tool set: desktop entries, the file types, icons in the icon theme, AppStream data,
# man pages and the package's documents. The files are in platform/linux and icons/.

# The page the AppStream data names as the project's, and where its screenshots are published
# (the repository's folder screenshots/ as it is served there).
set(TARVEX_HOMEPAGE "https://tarvex.org" CACHE STRING "The project's web page")
set(TARVEX_SCREENSHOT_URL "${TARVEX_HOMEPAGE}/screenshots" CACHE STRING "Where screenshots/ is published")

set(tarvex_linux ${CMAKE_SOURCE_DIR}/platform/linux)
set(tarvex_generated ${CMAKE_BINARY_DIR}/platform)
set(tarvex_icon_theme ${CMAKE_INSTALL_DATADIR}/icons/hicolor)

# The programs that have a desktop entry, and the name of their AppStream component.
set(tarvex_desktop_programs scrivane lirrel orvane)
set(tarvex_component_scrivane Scrivane)
set(tarvex_component_lirrel Lirrel)
set(tarvex_component_orvane Orvane)

set(TARVEX_FULL_DATADIR ${CMAKE_INSTALL_FULL_DATADIR}/tarvex)
foreach(program scrivane lirrel orvane tarvex-setup tarvex-cogcheck)
  if(NOT TARGET ${program})
    continue()
  endif()
  if(EXISTS ${tarvex_linux}/man/${program}.1.in)
    configure_file(${tarvex_linux}/man/${program}.1.in ${tarvex_generated}/${program}.1 @ONLY)
    # Man pages are installed compressed, as the platform's packages have them.
    add_custom_command(OUTPUT ${tarvex_generated}/${program}.1.gz
      COMMAND gzip -9n -c ${tarvex_generated}/${program}.1 > ${tarvex_generated}/${program}.1.gz
      DEPENDS ${tarvex_generated}/${program}.1 VERBATIM)
    list(APPEND tarvex_man_pages ${tarvex_generated}/${program}.1.gz)
  endif()
  if(program IN_LIST tarvex_desktop_programs)
    install(FILES ${tarvex_linux}/tarvex-${program}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    set(component org.tarvex.${tarvex_component_${program}})
    configure_file(${tarvex_linux}/${component}.metainfo.xml.in ${tarvex_generated}/${component}.metainfo.xml @ONLY)
    install(FILES ${tarvex_generated}/${component}.metainfo.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  endif()
  tarvex_app_icon_name(${program} icon)
  if(EXISTS ${CMAKE_SOURCE_DIR}/icons/svg/${icon}.svg)
    foreach(size 16 32 48 64 128 256)
      install(FILES ${CMAKE_SOURCE_DIR}/icons/png/${size}x${size}/${icon}.png DESTINATION ${tarvex_icon_theme}/${size}x${size}/apps)
    endforeach()
    install(FILES ${CMAKE_SOURCE_DIR}/icons/svg/${icon}.svg DESTINATION ${tarvex_icon_theme}/scalable/apps)
  endif()
endforeach()
add_custom_target(tarvex_man_pages ALL DEPENDS ${tarvex_man_pages})
install(FILES ${tarvex_man_pages} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)

install(FILES ${tarvex_linux}/tarvex.xml DESTINATION ${CMAKE_INSTALL_DATADIR}/mime/packages)
foreach(type cog cgt dat uni)
  foreach(size 16 32 48 64 128 256)
    install(FILES ${CMAKE_SOURCE_DIR}/icons/png/${size}x${size}/text-x-jk-${type}.png
            DESTINATION ${tarvex_icon_theme}/${size}x${size}/mimetypes)
  endforeach()
  install(FILES ${CMAKE_SOURCE_DIR}/icons/svg/text-x-jk-${type}.svg DESTINATION ${tarvex_icon_theme}/scalable/mimetypes)
endforeach()
