# cmake -DRC=shell.rc -DOUT=copyright -P copyright.cmake: the package's
# copyright file (machine-readable, Debian's copyright format 1.0), whose
# licence is the usage agreement the first-run wizard shows: its strings
# IDS_AGREEMENT1 to 5 of the resource script, one text.
file(READ "${RC}" rc)
set(text "")
foreach(n 1 2 3 4 5)
  if(NOT rc MATCHES "IDS_AGREEMENT${n}[ \t]+\"([^\"]*)\"")
    message(FATAL_ERROR "${RC}: no IDS_AGREEMENT${n}")
  endif()
  string(APPEND text "${CMAKE_MATCH_1}")
endforeach()
string(REPLACE "\\r\\n" "\n" text "${text}")
string(STRIP "${text}" text)
# A licence text's lines are indented by one blank; an empty one is " .".
string(REPLACE "\n" "\n " text " ${text}")
string(REGEX REPLACE "\n \n" "\n .\n" text "${text}")
string(REGEX REPLACE "\n \n" "\n .\n" text "${text}")
file(WRITE "${OUT}.new" "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/
Upstream-Name: Tarvel Sales Logs (塔维尔销售日志)
Upstream-Contact: 北京塔维尔信息技术有限公司

Files: *
Copyright: 2026 北京塔维尔信息技术有限公司
License: LicenseRef-Tarvel-Usage-Agreement

License: LicenseRef-Tarvel-Usage-Agreement
${text}
")
file(RENAME "${OUT}.new" "${OUT}")
