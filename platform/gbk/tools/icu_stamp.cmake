# cmake -DHEADER=<unicode/uvernum.h> -DLIBRARIES=<lib>|<lib>... -DSTAMP=<file>
#       -P icu_stamp.cmake
# Writes to STAMP the ICU version HEADER defines and the file each library
# leads to (libicudata.so -> libicudata.so.72.1), only when that changed, so
# that what depends on STAMP is made again for a changed ICU alone.
file(STRINGS "${HEADER}" state REGEX "^#define U_ICU_VERSION ")
if(NOT state)
  message(FATAL_ERROR "no ICU version in ${HEADER}")
endif()
string(APPEND state "\n")
string(REPLACE "|" ";" libraries "${LIBRARIES}")
foreach(library IN LISTS libraries)
  file(REAL_PATH "${library}" real)
  string(APPEND state "${real}\n")
endforeach()
# Written only when the text changes.
file(CONFIGURE OUTPUT "${STAMP}" CONTENT "${state}" @ONLY)
