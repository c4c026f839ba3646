# song.ttf's inputs and the steps of its rules. Whether Debian's python3 with
# fontTools and the Song face are there is asked when CMake configures and
# again at every build: with one gone the build goes on without song.ttf (the
# program draws from the full face) and says so in the configure-time words.
#
# Included: song_font_inputs(<var> <python> <face> <index>) sets <var> to a
# text naming the inputs (the face's size and time, where fontTools lies and
# its time), or to "" when one is missing; SONG_FONT_MISSING is the message.
#
# As a script, cmake -DMODE=... -P song_font.cmake:
#   inputs  PYTHON FACE INDEX STAMP: writes the inputs' text to STAMP, only
#           when it changed, so that song.ttf is remade after an upgrade of
#           the face or of fontTools, or when one of them goes or comes back
#   make    PYTHON FACE INDEX SCRIPT TEXTS (a file listing the text files)
#           OUTPUT MADE: makes OUTPUT, or with an input gone says so and
#           removes it; then writes MADE, which the copies follow
#   copy    SRC DST: copies SRC to DST, or removes DST when there is no SRC

function(song_font_message var python)
  if(NOT python)
    set(python /usr/bin/python3)
  endif()
  set(${var}
      "song.ttf is not made (needs ${python} with fontTools and the AR PL UMing CN face): the program draws its texts from the full face"
      PARENT_SCOPE)
endfunction()

function(song_font_inputs var python face index)
  set(${var} "" PARENT_SCOPE)
  if(NOT python OR NOT EXISTS "${python}" OR NOT face OR NOT EXISTS "${face}")
    return()
  endif()
  execute_process(COMMAND "${python}" -c
                          "import importlib.util as u; s = u.find_spec('fontTools.subset'); print(s.origin if s else '')"
                  OUTPUT_VARIABLE fonttools OUTPUT_STRIP_TRAILING_WHITESPACE RESULT_VARIABLE rc ERROR_QUIET)
  if(NOT rc EQUAL 0 OR NOT fonttools OR NOT EXISTS "${fonttools}")
    return()
  endif()
  file(SIZE "${face}" face_size)
  file(TIMESTAMP "${face}" face_time "%Y-%m-%dT%H:%M:%S" UTC)
  file(TIMESTAMP "${fonttools}" fonttools_time "%Y-%m-%dT%H:%M:%S" UTC)
  set(${var} "face ${face} ${index} ${face_size} ${face_time}\nfontTools ${fonttools} ${fonttools_time}\n" PARENT_SCOPE)
endfunction()

if(NOT CMAKE_SCRIPT_MODE_FILE)
  return()
endif()

if(MODE STREQUAL "inputs")
  song_font_inputs(state "${PYTHON}" "${FACE}" "${INDEX}")
  if(NOT state)
    set(state "missing\n")
  endif()
  # Written only when the text changes.
  file(CONFIGURE OUTPUT "${STAMP}" CONTENT "${state}" @ONLY)
elseif(MODE STREQUAL "make")
  song_font_inputs(state "${PYTHON}" "${FACE}" "${INDEX}")
  if(state)
    file(STRINGS "${TEXTS}" texts)
    execute_process(COMMAND "${PYTHON}" "${SCRIPT}" "${OUTPUT}" "${FACE}" "${INDEX}" ${texts}
                    COMMAND_ERROR_IS_FATAL ANY)
    file(WRITE "${MADE}" "made\n")
  else()
    song_font_message(text "${PYTHON}")
    message(WARNING "${text}")
    file(REMOVE "${OUTPUT}")
    file(WRITE "${MADE}" "not made\n")
  endif()
elseif(MODE STREQUAL "copy")
  if(EXISTS "${SRC}")
    file(COPY_FILE "${SRC}" "${DST}")
  else()
    file(REMOVE "${DST}")
  endif()
else()
  message(FATAL_ERROR "song_font.cmake: unknown MODE '${MODE}'")
endif()
