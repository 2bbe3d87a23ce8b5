# Writes a copy of a stored-description source with the packed skin in its
# "SkinStream = { 00000000 }" line: the length word, then the package.
#   cmake -DFORM=in.form -DSKIN=default.skn -DOUTPUT=out.form -P embedskin.cmake
file(READ ${FORM} text)
file(READ ${SKIN} hex HEX)
string(LENGTH "${hex}" digits)
math(EXPR size "${digits} / 2")
math(EXPR b0 "${size} & 255" OUTPUT_FORMAT HEXADECIMAL)
math(EXPR b1 "(${size} >> 8) & 255" OUTPUT_FORMAT HEXADECIMAL)
math(EXPR b2 "(${size} >> 16) & 255" OUTPUT_FORMAT HEXADECIMAL)
math(EXPR b3 "(${size} >> 24) & 255" OUTPUT_FORMAT HEXADECIMAL)
set(word "")
foreach(b ${b0} ${b1} ${b2} ${b3})
  string(SUBSTRING "${b}" 2 -1 b)
  string(LENGTH "${b}" n)
  if(n EQUAL 1)
    set(b "0${b}")
  endif()
  string(APPEND word "${b}")
endforeach()
# 64 bytes a line.
string(REGEX REPLACE "([0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f][0-9a-f])"
       "\\1\n" hex "${hex}")
string(FIND "${text}" "SkinStream = { 00000000 }" at)
if(at LESS 0)
  message(FATAL_ERROR "${FORM}: no 'SkinStream = { 00000000 }' line")
endif()
string(REPLACE "SkinStream = { 00000000 }" "SkinStream = {\n${word}\n${hex}}" text "${text}")
file(WRITE ${OUTPUT} "${text}")
