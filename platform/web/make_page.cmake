cmake_minimum_required(VERSION 3.25)
# Puts a program's script into the page template: cmake -DSCRIPT=x.js
# -DTEMPLATE=page.html -DOUT=x.html [-DARGS=a;b] -P make_page.cmake
file(READ ${SCRIPT} script)
# Inside <script> only "</script" could end the element early.
string(REPLACE "</script" "<\\/script" script "${script}")
set(prelude "")
if(ARGS)
  list(JOIN ARGS "\",\"" joined)
  set(prelude "<script>var Module={arguments:[\"${joined}\"]};</script>\n")
endif()
file(READ ${TEMPLATE} page)
string(REPLACE "@PRELUDE@" "${prelude}" page "${page}")
string(REPLACE "@SCRIPT@" "${script}" page "${page}")
file(WRITE ${OUT} "${page}")
