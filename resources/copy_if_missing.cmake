# cmake -DSRC=a -DDST=b -P copy_if_missing.cmake: copies a to b unless b
# exists. b is its owner's alone (mode 600): the database holds the records
# and the mail password. A b of an older build loses others' rights too.
if(NOT EXISTS "${DST}")
  file(COPY_FILE "${SRC}" "${DST}")
  file(CHMOD "${DST}" PERMISSIONS OWNER_READ OWNER_WRITE)
  message(STATUS "Installed ${DST}")
else()
  execute_process(COMMAND chmod go-rwx "${DST}" OUTPUT_QUIET ERROR_QUIET)
endif()
