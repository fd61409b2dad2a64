# How a program of the tool set is built: its layers are static libraries, each made from
# every source of one folder, and the program itself is main.cpp linked against the top layer.

# tarvex_add_layer(<name> <folder> <libraries...>): the library <name> from <folder>/*.cpp and
# *.h of the calling folder, linked publicly against the libraries.
function(tarvex_add_layer name folder)
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${folder}/*.cpp ${CMAKE_CURRENT_SOURCE_DIR}/${folder}/*.h)
  add_library(${name} STATIC ${sources})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${ARGN})
endfunction()

# tarvex_add_program(<target> <file name> <library>): a window program built into the shared
# bin folder under the file name the one-folder layout uses, and installed.
function(tarvex_add_program target output library)
  add_executable(${target} WIN32 main.cpp)
  target_link_libraries(${target} PRIVATE ${library})
  set_target_properties(${target} PROPERTIES OUTPUT_NAME ${output} RUNTIME_OUTPUT_DIRECTORY ${TARVEX_BIN_DIR})
  if(WIN32)
    # The program's icon, as Windows shows it for the file and in the taskbar.
    tarvex_app_icon_name(${target} icon)
    set(rc ${CMAKE_CURRENT_BINARY_DIR}/${target}.rc)
    file(WRITE ${rc} "IDI_ICON1 ICON \"${CMAKE_SOURCE_DIR}/icons/ico/${icon}.ico\"\n")
    target_sources(${target} PRIVATE ${rc})
  endif()
  tarvex_install_program(${target})
endfunction()

# tarvex_app_icon_name(<target> <variable>): the name of a program's application icon in icons/
# and in the icon theme: "tarvex-scrivane" for scrivane, "tarvex-setup" for tarvex-setup.
function(tarvex_app_icon_name target variable)
  if(target MATCHES "^tarvex-")
    set(${variable} ${target} PARENT_SCOPE)
  else()
    set(${variable} tarvex-${target} PARENT_SCOPE)
  endif()
endfunction()

# tarvex_install_program(<target>): installs a program of the tool set: under its file name into
# the one-folder layout, or under the target's name (lower-case) into the platform's programs
# folder.
function(tarvex_install_program target)
  if(TARVEX_PORTABLE)
    install(TARGETS ${target} RUNTIME DESTINATION ${TARVEX_INSTALL_BINDIR})
  else()
    set(file ${target}${CMAKE_EXECUTABLE_SUFFIX})
    install(PROGRAMS $<TARGET_FILE:${target}> DESTINATION ${TARVEX_INSTALL_BINDIR} RENAME ${file})
    # Stripped as install(TARGETS) strips (cmake --install --strip, and the package).
    install(CODE "if(CMAKE_INSTALL_DO_STRIP)
      execute_process(COMMAND \"${CMAKE_STRIP}\" \"\$ENV{DESTDIR}\${CMAKE_INSTALL_PREFIX}/${TARVEX_INSTALL_BINDIR}/${file}\")
    endif()")
  endif()
endfunction()
