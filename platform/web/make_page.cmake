cmake_minimum_required(VERSION 3.25)
# Puts a program's script, its module and its window description, deflated by
# the tool, into the page template: cmake -DSCRIPT=x.js -DDEFLATE=tavrel_deflate
# -DDRAW=tavrel_draw_window -DDESCRIPTION=form_stream.bin -DTEMPLATE=page.html
# -DWORDS_TOOL=tavrel_words -DWORDS=words -DOUT=x.html [-DARGS=a;b] [-DWINDOW=ON]
# -P make_page.cmake (x.wasm lies beside x.js). With WINDOW, the page also
# carries its start window as markup, which the draw tool writes from the
# description. The words tool puts the texts of every language in first.
# A page that cannot be made whole is not left behind from an earlier build.
file(REMOVE ${OUT})
string(REGEX REPLACE "\\.js$" ".wasm" module_file "${SCRIPT}")
execute_process(COMMAND ${DEFLATE} ${module_file} ${DESCRIPTION} ${OUT}.data ${OUT}.late COMMAND_ERROR_IS_FATAL ANY)
set(draw ${DRAW} ${DESCRIPTION} ${OUT}.words)
if(WINDOW)
  list(APPEND draw ${OUT}.window)
endif()
execute_process(COMMAND ${draw} COMMAND_ERROR_IS_FATAL ANY)
set(window "")
if(WINDOW)
  file(READ ${OUT}.window window)
endif()
file(READ ${OUT}.data data)
file(READ ${OUT}.late late)
file(READ ${OUT}.words words)
file(REMOVE ${OUT}.data ${OUT}.late ${OUT}.words ${OUT}.window)
set(prelude "")
if(ARGS)
  list(JOIN ARGS "\",\"" joined)
  set(prelude "<script>var Module={arguments:[\"${joined}\"]};</script>\n")
endif()
# The catalogues travel in the program's script, which the page carries
# deflated: their words are for the script alone.
execute_process(COMMAND ${WORDS_TOOL} ${WORDS} ${TEMPLATE} ${OUT}.page ${OUT}.js COMMAND_ERROR_IS_FATAL ANY)
file(READ ${OUT}.page page)
file(READ ${SCRIPT} script)
file(APPEND ${OUT}.js "${script}")
execute_process(COMMAND ${DEFLATE} --script ${OUT}.js ${OUT}.script COMMAND_ERROR_IS_FATAL ANY)
file(READ ${OUT}.script script)
file(REMOVE ${OUT}.page ${OUT}.js ${OUT}.script)
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
string(REPLACE "@WORDS@" "${words}" page "${page}")
string(REPLACE "@SCRIPT@" "${script}" page "${page}")
file(WRITE ${OUT} "${before}${window}${page}")
