# cmake -DICO=<file.ico> -DOUT=<icon_resources.rc> -P icon_resources.cmake
#
# Writes the executable's icon resources from the window's icon file, so both
# icons are the same bytes: the image as icon resource 30001 and a one-entry
# icon group 1 pointing at it, both language neutral. The data goes inline as
# 16-bit words, since CMake cannot write a binary file.
if(NOT EXISTS "${ICO}")
  message(FATAL_ERROR "No window icon at ${ICO}: the pack tool must write it first")
else()
  file(READ "${ICO}" header LIMIT 22 HEX)
  # Directory: reserved 0, type 1, count 1; the entry's size and offset.
  string(SUBSTRING "${header}" 0 12 directory)
  string(SUBSTRING "${header}" 12 16 entry_fields)
  string(SUBSTRING "${header}" 28 8 size_le)
  string(SUBSTRING "${header}" 36 8 offset_le)
  if(NOT directory STREQUAL "000001000100" OR NOT offset_le STREQUAL "16000000")
    message(FATAL_ERROR "${ICO}: not an icon file with exactly one image")
  endif()
  string(REGEX REPLACE "(..)(..)(..)(..)" "\\4\\3\\2\\1" size_hex "${size_le}")
  math(EXPR size "0x${size_hex}")
  math(EXPR odd "${size} % 2")
  if(size LESS 40 OR odd)
    message(FATAL_ERROR "${ICO}: image size ${size} is not usable")
  endif()
  file(READ "${ICO}" image OFFSET 22 LIMIT ${size} HEX)
  string(LENGTH "${image}" read_length)
  math(EXPR expected "${size} * 2")
  if(NOT read_length EQUAL expected)
    message(FATAL_ERROR "${ICO}: the image is cut short")
  endif()
  # The group: the directory, then the entry with image number 30001 (0x7531)
  # where the file has the image's offset.
  set(group "${directory}${entry_fields}${size_le}3175")
  foreach(name image group)
    string(REGEX REPLACE "(..)(..)" "0x\\2\\1, " words "${${name}}")
    string(REGEX REPLACE ", $" "" words "${words}")
    string(REPEAT "0x...., " 12 line)
    string(REGEX REPLACE "(${line})" "\\1\n  " ${name}_words "${words}")
  endforeach()
  set(text "// Generated from the window icon. Do not edit.\nLANGUAGE 0, 0\n")
  string(APPEND text "30001 3\nBEGIN\n  ${image_words}\nEND\n\n")
  string(APPEND text "1 14\nBEGIN\n  ${group_words}\nEND\n")
endif()
# Rewritten only on a change, so the program is not relinked for nothing.
file(CONFIGURE OUTPUT "${OUT}" CONTENT "${text}" @ONLY)
