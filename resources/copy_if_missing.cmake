# cmake -DSRC=a -DDST=b -P copy_if_missing.cmake: copies a to b unless b exists.
if(NOT EXISTS "${DST}")
  file(COPY_FILE "${SRC}" "${DST}")
  message(STATUS "Installed ${DST}")
endif()
