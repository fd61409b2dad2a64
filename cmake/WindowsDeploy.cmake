# The one-folder tool set on Windows runs where it is installed: the install step puts the Qt
# runtime (libraries, platform and style plugins) and the compiler's runtime beside the
# programs with windeployqt, and adds what it put there to the installed file list, so that
# tarvex-setup copies it too.

get_target_property(tarvex_qmake Qt6::qmake IMPORTED_LOCATION)
get_filename_component(tarvex_qt_bin "${tarvex_qmake}" DIRECTORY)
find_program(TARVEX_WINDEPLOYQT windeployqt HINTS "${tarvex_qt_bin}")
if(NOT TARVEX_WINDEPLOYQT)
  message(WARNING "windeployqt not found: the installed folder will need Qt's libraries on the path")
  return()
endif()

# The programs to deploy beside are those the folder's file list names (ToolSetLayout.cmake).
set(tarvex_deployed ${tarvex_programs})
set(tarvex_deploy_script ${CMAKE_BINARY_DIR}/tarvex-deploy.cmake)
file(GENERATE OUTPUT ${tarvex_deploy_script} CONTENT "
set(folder \"\${CMAKE_INSTALL_PREFIX}/${TARVEX_INSTALL_BINDIR}\")
set(programs \"${tarvex_deployed}\")
list(TRANSFORM programs PREPEND \"\${folder}/\")
execute_process(COMMAND \"${TARVEX_WINDEPLOYQT}\" --no-translations --no-system-d3d-compiler --no-opengl-sw
                        --list relative --dir \"\${folder}\" \${programs}
                OUTPUT_VARIABLE deployed RESULT_VARIABLE failed)
if(failed)
  message(FATAL_ERROR \"windeployqt failed\")
endif()
# One file a line, with slashes, as the list has them.
string(REPLACE \"\\\\\" \"/\" deployed \"\${deployed}\")
file(APPEND \"\${folder}/tarvex-filelist.txt\" \"\${deployed}\")
")
install(SCRIPT ${tarvex_deploy_script})
