# Writes the page: the HTML of page.html with the style sheet, the script,
# the reference drawing (as a data: address) and the page's help put in place
# of their markers, and its Content-Security-Policy.
#   KIND=single  the shell the one-file build links into (--shell-file):
#                nothing but itself, no connection at all
#   KIND=site    index.html of the plain files for a web server: its script
#                and WebAssembly are kelvane.js and kelvane.wasm beside it,
#                and nothing comes from any other address
cmake_policy(VERSION 3.25)  # markers such as @PAGE_JS@ are plain text, not variables

file(READ ${SOURCE}/page.html page)
file(READ ${SOURCE}/page.css css)
file(READ ${SOURCE}/page.js js)
file(READ ${RESOURCES}/reference_drawing.svg svg HEX)
file(READ ${SOURCE}/help.html help)  # the page's own: its menus, not the desktop's

# The drawing as a percent-encoded data: address, byte by byte.
string(LENGTH "${svg}" hexLength)
set(svgUri "data:image/svg+xml;charset=utf-8,")
math(EXPR last "${hexLength} - 2")
set(plain "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789-_.~")
foreach(i RANGE 0 ${last} 2)
  string(SUBSTRING "${svg}" ${i} 2 byte)
  math(EXPR code "0x${byte}")
  string(ASCII ${code} char)
  if(code LESS 128)
    string(FIND "${plain}" "${char}" at)
  else()
    set(at -1)
  endif()
  if(at GREATER -1)
    string(APPEND svgUri "${char}")
  else()
    string(TOUPPER "${byte}" byte)
    string(APPEND svgUri "%${byte}")
  endif()
endforeach()

# Only the help's body goes into the page.
string(FIND "${help}" "<body>" bodyStart)
string(FIND "${help}" "</body>" bodyEnd)
if(bodyStart GREATER -1 AND bodyEnd GREATER bodyStart)
  math(EXPR bodyStart "${bodyStart} + 6")
  math(EXPR bodyLength "${bodyEnd} - ${bodyStart}")
  string(SUBSTRING "${help}" ${bodyStart} ${bodyLength} help)
endif()

# The markers of the page's frame first, before any inline text could hold one.
set(common "default-src 'none'; style-src 'unsafe-inline'; img-src data:; font-src 'none'; \
frame-src 'none'; worker-src blob:; object-src 'none'; form-action 'none'; base-uri 'none'")
if(KIND STREQUAL "single")
  set(policy "script-src 'unsafe-inline' 'wasm-unsafe-eval'; connect-src 'none'; ${common}")
  set(script "{{{ SCRIPT }}}")  # where Emscripten puts the runtime
elseif(KIND STREQUAL "site")
  set(policy "script-src 'self' 'unsafe-inline' 'wasm-unsafe-eval'; connect-src 'self'; ${common}")
  set(script "<script src=\"kelvane.js\"></script>")
else()
  message(FATAL_ERROR "inline_page.cmake: KIND is single or site, not '${KIND}'")
endif()
string(REPLACE "@POLICY@" "${policy}" page "${page}")
string(REPLACE "@SCRIPT@" "${script}" page "${page}")

string(REPLACE "@PAGE_CSS@" "${css}" page "${page}")
string(REPLACE "@PAGE_JS@" "${js}" page "${page}")
string(REPLACE "@REFERENCE_DRAWING@" "${svgUri}" page "${page}")
string(REPLACE "@HELP@" "${help}" page "${page}")
string(REPLACE "@VERSION@" "${VERSION}" page "${page}")

file(WRITE ${OUTPUT} "${page}")
