# w32_add_resources(<target> [file.rc...])
# Compiles the resource scripts into one generated source holding the target's
# resource table (an empty table without scripts) and adds it to the target.
# Edits to the scripts, the headers they include and the files they embed
# rebuild it.
set(W32_RESDATA_HEADER ${CMAKE_CURRENT_LIST_DIR}/../src/res/resdata.h CACHE INTERNAL "")

function(w32_add_resources target)
  set(scripts)
  foreach(rc ${ARGN})
    get_filename_component(abs ${rc} ABSOLUTE)
    list(APPEND scripts ${abs})
  endforeach()
  set(out ${CMAKE_CURRENT_BINARY_DIR}/${target}_resources.cpp)
  add_custom_command(
    OUTPUT ${out}
    COMMAND w32rc -o ${out} --header ${W32_RESDATA_HEADER} --depfile ${out}.d ${scripts}
    DEPENDS w32rc ${scripts}
    DEPFILE ${out}.d
    COMMENT "Compiling the resources of ${target}"
    VERBATIM)
  target_sources(${target} PRIVATE ${out})
endfunction()
