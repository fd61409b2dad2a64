# The tool set as one folder. The build folder ${TARVEX_BIN_DIR} and the installed folder
# each hold every program of the tool set, Scrivane's data files and templates (in the folder
# "templates"), the four file icons and tarvex-filelist.txt, the list from which tarvex-setup copies the tool set elsewhere.
# Programs are listed only when they are targets of this build.

# The file icons are drawn by a small program of ours at build time (common/CMakeLists.txt).
set(TARVEX_ICON_NAMES COGPage CGTPage DATPage JKUni)
set(TARVEX_ICON_FILES)
foreach(icon ${TARVEX_ICON_NAMES})
  list(APPEND TARVEX_ICON_FILES ${icon}.ico ${icon}.png)
endforeach()

list(TRANSFORM TARVEX_ICON_FILES PREPEND ${TARVEX_BIN_DIR}/ OUTPUT_VARIABLE tarvex_icon_paths)
add_custom_command(OUTPUT ${tarvex_icon_paths}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${TARVEX_BIN_DIR}
  # A sanitizer build must not fail on what the drawing program leaves to the end of the process.
  COMMAND ${CMAKE_COMMAND} -E env QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0
          $<TARGET_FILE:tarvex_make_icons> ${TARVEX_BIN_DIR}
  DEPENDS tarvex_make_icons
  COMMENT "Drawing the file icons"
  VERBATIM)
add_custom_target(tarvex_icons ALL DEPENDS ${tarvex_icon_paths})

# What the folder holds, one file name a line.
set(tarvex_programs)
foreach(program scrivane lirrel orvane tarvex-setup tarvex-cogcheck)
  if(TARGET ${program})
    list(APPEND tarvex_programs "$<TARGET_FILE_NAME:${program}>")
  endif()
endforeach()
get_property(tarvex_scrivane_data GLOBAL PROPERTY SCRIVANE_DATA)
get_property(tarvex_templates GLOBAL PROPERTY SCRIVANE_TEMPLATES)
set(tarvex_listed ${tarvex_programs} ${tarvex_scrivane_data} ${TARVEX_ICON_FILES} ${tarvex_templates})
list(JOIN tarvex_listed "\n" tarvex_list_text)
file(GENERATE OUTPUT ${TARVEX_BIN_DIR}/tarvex-filelist.txt CONTENT "${tarvex_list_text}\n")

install(FILES ${tarvex_icon_paths} ${TARVEX_BIN_DIR}/tarvex-filelist.txt DESTINATION ${TARVEX_INSTALL_DIR})

# The installer is of no use without the files it copies.
if(TARGET tarvex-setup)
  add_dependencies(tarvex-setup tarvex_icons)
endif()

# The installer's tests look at the folder as the build lays it out.
if(TARGET setup_tests)
  add_dependencies(setup_tests tarvex_icons)
  target_compile_definitions(setup_tests PRIVATE TARVEX_BIN_DIR="${TARVEX_BIN_DIR}")
endif()
