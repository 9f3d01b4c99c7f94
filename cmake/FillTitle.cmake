cmake_minimum_required(VERSION 3.25)
# Puts the program's title, as the pack tool wrote it, in place of
# @TAVREL_TITLE@ in a file configured before the build:
#   cmake -DTITLE_FILE=generated/title.txt -DIN=file.in -DOUT=file [-DNEWLINE_STYLE=CRLF] -P FillTitle.cmake
# configure_file reads lines without their carriage returns, so a file with
# CRLF line ends asks for them here.
file(READ ${TITLE_FILE} TAVREL_TITLE)
if(TAVREL_TITLE STREQUAL "")
  message(FATAL_ERROR "${TITLE_FILE} holds no title")
endif()
set(line_ends "")
if(DEFINED NEWLINE_STYLE)
  set(line_ends NEWLINE_STYLE ${NEWLINE_STYLE})
endif()
configure_file(${IN} ${OUT} @ONLY ${line_ends})
