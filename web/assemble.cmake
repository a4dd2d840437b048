# SPDX-License-Identifier: GPL-3.0-or-later
# Puts the web page's site together (cmake -P, run by web/CMakeLists.txt):
#   SITE/index.html, sw.js, manifest.webmanifest, icons/  what stays at one address
#   SITE/v-HASH/  the game, the page's script and style, Questions/, Sounds/:
#                 the files of one version, in a folder named by their contents
# and beside every file that compresses a gzip (.gz) and a brotli (.br)
# copy for a static host to serve (Debian's gzip and brotli).
# Needs SITE MODULE WEB QUESTIONS SOUNDS ICON GZIP BROTLI RSVG_CONVERT.
cmake_minimum_required(VERSION 3.20)

foreach(var SITE MODULE WEB QUESTIONS SOUNDS ICON GZIP BROTLI RSVG_CONVERT)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "assemble.cmake needs -D${var}=...")
  endif()
endforeach()

file(REMOVE_RECURSE ${SITE})
set(stage ${SITE}/stage)
file(MAKE_DIRECTORY ${stage})
file(COPY ${MODULE}/zelvanos.js ${MODULE}/zelvanos.wasm ${WEB}/page.js ${WEB}/page.css DESTINATION ${stage})
file(COPY ${QUESTIONS}/ DESTINATION ${stage}/Questions FILES_MATCHING PATTERN "*.lmk")
file(COPY ${SOUNDS}/ DESTINATION ${stage}/Sounds FILES_MATCHING PATTERN "*.mp3")

# The version: the contents of its files and of the page around them.
file(GLOB_RECURSE versioned RELATIVE ${stage} ${stage}/*)
list(SORT versioned)
set(summary "")
foreach(f IN LISTS versioned)
  file(SHA256 ${stage}/${f} hash)
  string(APPEND summary "${f} ${hash}\n")
endforeach()
foreach(f index.html sw.js manifest.webmanifest)
  file(SHA256 ${WEB}/${f} hash)
  string(APPEND summary "${f} ${hash}\n")
endforeach()
file(SHA256 ${ICON} hash)
string(APPEND summary "icon ${hash}\n")
string(SHA256 version "${summary}")
string(SUBSTRING ${version} 0 12 version)
set(VERSION v-${version})
file(RENAME ${stage} ${SITE}/${VERSION})

# The icons, from the game's SVG: the usual ones, and maskable ones whose
# picture stands within the middle 80 % on a ground reaching every edge.
file(MAKE_DIRECTORY ${SITE}/icons)
file(READ ${ICON} svg)
string(REGEX REPLACE ".*<svg[^>]*>" "" inner "${svg}")
string(REGEX REPLACE "</svg>.*" "" inner "${inner}")
file(WRITE ${SITE}/maskable.svg
  "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"256\" height=\"256\" viewBox=\"0 0 256 256\">"
  "<rect width=\"256\" height=\"256\" fill=\"#000000\"/>"
  "<g transform=\"translate(38.4 38.4) scale(0.7)\">${inner}</g></svg>\n")
foreach(size 64 192 512)
  execute_process(COMMAND ${RSVG_CONVERT} -w ${size} -h ${size} -o ${SITE}/icons/icon-${size}.png ${ICON}
                  RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "rsvg-convert could not draw the icon")
  endif()
endforeach()
foreach(size 192 512)
  execute_process(COMMAND ${RSVG_CONVERT} -w ${size} -h ${size} -o ${SITE}/icons/maskable-${size}.png
                          ${SITE}/maskable.svg RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "rsvg-convert could not draw the maskable icon")
  endif()
endforeach()
file(REMOVE ${SITE}/maskable.svg)

# What stays at one address, with the version written in.
configure_file(${WEB}/index.html ${SITE}/index.html @ONLY)
configure_file(${WEB}/manifest.webmanifest ${SITE}/manifest.webmanifest COPYONLY)
file(GLOB_RECURSE all RELATIVE ${SITE} ${SITE}/*)
list(SORT all)
set(FILES "[\n  \"./\"")
foreach(f IN LISTS all)
  string(APPEND FILES ",\n  \"${f}\"")
endforeach()
string(APPEND FILES "\n]")
configure_file(${WEB}/sw.js ${SITE}/sw.js @ONLY)

# Precompressed copies of what compresses; the same bytes every build.
file(GLOB_RECURSE compressible ${SITE}/*.html ${SITE}/*.js ${SITE}/*.css ${SITE}/*.wasm ${SITE}/*.webmanifest
     ${SITE}/*.lmk)
foreach(f IN LISTS compressible)
  execute_process(COMMAND ${GZIP} -9 -n -k -f ${f} RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "gzip failed on ${f}")
  endif()
  execute_process(COMMAND ${BROTLI} -q 11 -k -f ${f} RESULT_VARIABLE failed)
  if(failed)
    message(FATAL_ERROR "brotli failed on ${f}")
  endif()
endforeach()
message(STATUS "The site, version ${VERSION}, is in ${SITE}")
