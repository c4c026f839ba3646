# mydata.tvd: built from the SQL files here. The pristine copy is remade
# whenever the SQL changes; the program's copy beside the executable is
# written only when it is missing, so the user's data survives rebuilds.
set(TARVEL_DB_TEMPLATE ${CMAKE_BINARY_DIR}/resources/mydata.tvd
    CACHE INTERNAL "pristine database file that tests copy")

add_custom_command(
  OUTPUT ${TARVEL_DB_TEMPLATE}
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/resources
  COMMAND mkdb ${TARVEL_DB_TEMPLATE} ${TARVEL_DB_SQL}
  DEPENDS mkdb ${TARVEL_DB_SQL}
  COMMENT "Making the pristine mydata.tvd"
  VERBATIM)

add_custom_target(mydata_tvd ALL
  COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/bin
  COMMAND ${CMAKE_COMMAND} -DSRC=${TARVEL_DB_TEMPLATE} -DDST=${CMAKE_BINARY_DIR}/bin/mydata.tvd
          -P ${CMAKE_CURRENT_LIST_DIR}/copy_if_missing.cmake
  DEPENDS ${TARVEL_DB_TEMPLATE}
  VERBATIM)
