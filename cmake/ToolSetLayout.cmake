# The tool set as one folder. The build folder ${TARVEX_BIN_DIR} and the installed folder
# each hold every program of the tool set, Scrivane's data files and templates (in the folder
# "templates"), the four file icons and tarvex-filelist.txt, the list from which tarvex-setup
# copies the tool set elsewhere, and the printing module. In the platform's layout the programs
# are in the programs' folder, the module in the library folder and the rest in the data
# folder. Programs are listed only when they are targets of this build.

# The file icons under the names the registry file gives them, copied from the repository's
# icon files (icons/): a Windows icon (16 to 256 pixels) and a 48 pixel PNG for the desktop.
set(TARVEX_ICON_NAMES COGPage CGTPage DATPage JKUni)
set(tarvex_icon_sources text-x-jk-cog text-x-jk-cgt text-x-jk-dat text-x-jk-uni)
set(TARVEX_ICON_FILES)
set(tarvex_icon_paths)
foreach(icon source IN ZIP_LISTS TARVEX_ICON_NAMES tarvex_icon_sources)
  configure_file(${CMAKE_SOURCE_DIR}/icons/ico/${source}.ico ${TARVEX_BIN_DIR}/${icon}.ico COPYONLY)
  configure_file(${CMAKE_SOURCE_DIR}/icons/png/48x48/${source}.png ${TARVEX_BIN_DIR}/${icon}.png COPYONLY)
  list(APPEND TARVEX_ICON_FILES ${icon}.ico ${icon}.png)
  list(APPEND tarvex_icon_paths ${TARVEX_BIN_DIR}/${icon}.ico ${TARVEX_BIN_DIR}/${icon}.png)
endforeach()

# What the folder holds, one file name a line.
set(tarvex_programs)
foreach(program scrivane lirrel orvane tarvex-setup tarvex-cogcheck tarvexprint)
  if(TARGET ${program})
    list(APPEND tarvex_programs "$<TARGET_FILE_NAME:${program}>")
  endif()
endforeach()
get_property(tarvex_scrivane_data GLOBAL PROPERTY SCRIVANE_DATA)
get_property(tarvex_templates GLOBAL PROPERTY SCRIVANE_TEMPLATES)
set(tarvex_listed ${tarvex_programs} ${tarvex_scrivane_data} ${TARVEX_ICON_FILES} ${tarvex_templates})
list(JOIN tarvex_listed "\n" tarvex_list_text)
file(GENERATE OUTPUT ${TARVEX_BIN_DIR}/tarvex-filelist.txt CONTENT "${tarvex_list_text}\n")

install(FILES ${tarvex_icon_paths} ${TARVEX_BIN_DIR}/tarvex-filelist.txt DESTINATION ${TARVEX_INSTALL_DATADIR})

# The installer's tests look at the folder as the build lays it out.
if(TARGET setup_tests)
  target_compile_definitions(setup_tests PRIVATE TARVEX_BIN_DIR="${TARVEX_BIN_DIR}")
endif()
