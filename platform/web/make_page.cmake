cmake_minimum_required(VERSION 3.25)
# Puts a program's script, its module and its window description, deflated by
# the tool, into the page template: cmake -DSCRIPT=x.js -DDEFLATE=tavrel_deflate
# -DDESCRIPTION=form_stream.bin -DTEMPLATE=page.html -DOUT=x.html [-DARGS=a;b]
# -P make_page.cmake (x.wasm lies beside x.js).
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
string(REPLACE "@PRELUDE@" "${prelude}" page "${page}")
string(REPLACE "@DATA@" "${data}" page "${page}")
string(REPLACE "@LATE@" "${late}" page "${page}")
string(REPLACE "@SCRIPT@" "${script}" page "${page}")
file(WRITE ${OUT} "${page}")
