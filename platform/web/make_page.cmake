cmake_minimum_required(VERSION 3.25)
# Puts a program's script, its module and its window description, deflated by
# the tool, into the page template: cmake -DSCRIPT=x.js -DDEFLATE=tavrel_deflate
# -DDESCRIPTION=form_stream.bin -DTEMPLATE=page.html -DOUT=x.html [-DARGS=a;b]
# [-DDRAW=draw_window.py] -P make_page.cmake (x.wasm lies beside x.js). With
# DRAW, the page then carries its start window as markup, drawn by the tool
# from the page without it.
# A page that cannot be made whole is not left behind from an earlier build.
file(REMOVE ${OUT})
file(READ ${SCRIPT} script)
string(REGEX REPLACE "\\.js$" ".wasm" module_file "${SCRIPT}")
execute_process(COMMAND ${DEFLATE} ${module_file} ${DESCRIPTION} ${OUT}.data ${OUT}.late COMMAND_ERROR_IS_FATAL ANY)
file(READ ${OUT}.data data)
file(READ ${OUT}.late late)
file(REMOVE ${OUT}.data ${OUT}.late)
# Inside <script> only "</script" could end the element early.
string(REPLACE "</script" "<\\/script" script "${script}")
set(prelude "")
if(ARGS)
  list(JOIN ARGS "\",\"" joined)
  set(prelude "<script>var Module={arguments:[\"${joined}\"]};</script>\n")
endif()
file(READ ${TEMPLATE} page)
# The window's place comes before every other, so nothing put in can stand for it.
string(FIND "${page}" "@WINDOW@" at)
if(at LESS 0)
  message(FATAL_ERROR "${TEMPLATE} has no place for the window")
endif()
string(SUBSTRING "${page}" 0 ${at} before)
string(LENGTH "@WINDOW@" place)
math(EXPR at "${at} + ${place}")
string(SUBSTRING "${page}" ${at} -1 page)
string(REPLACE "@PRELUDE@" "${prelude}" page "${page}")
string(REPLACE "@DATA@" "${data}" page "${page}")
string(REPLACE "@LATE@" "${late}" page "${page}")
string(REPLACE "@SCRIPT@" "${script}" page "${page}")
set(window "")
if(DRAW)
  file(WRITE ${OUT}.bare.html "${before}${page}")
  execute_process(COMMAND /usr/bin/python3 ${DRAW} ${OUT}.bare.html ${OUT}.window RESULT_VARIABLE failed)
  if(NOT failed)
    file(READ ${OUT}.window window)
  endif()
  file(REMOVE ${OUT}.bare.html ${OUT}.window)
  if(failed)
    message(FATAL_ERROR "The page's start window could not be drawn (${failed})")
  endif()
endif()
file(WRITE ${OUT} "${before}${window}${page}")
