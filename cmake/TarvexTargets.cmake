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
# bin folder and installed into the tool set's folder.
function(tarvex_add_program target output library)
  add_executable(${target} WIN32 main.cpp)
  target_link_libraries(${target} PRIVATE ${library})
  set_target_properties(${target} PROPERTIES OUTPUT_NAME ${output} RUNTIME_OUTPUT_DIRECTORY ${TARVEX_BIN_DIR})
  install(TARGETS ${target} RUNTIME DESTINATION ${TARVEX_INSTALL_DIR})
endfunction()
