# The browser build: Debian's Emscripten. Its toolchain finds packages only
# in Emscripten's own system root; the header-only JSON library is given to
# it by web/third_party.cmake instead.
include(/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake)

# Emscripten's JavaScript optimiser needs Debian's node-acorn, which the
# node of Debian's nodejs package finds on its own and a newer node from
# elsewhere finds only through NODE_PATH.
set(CMAKE_CXX_LINKER_LAUNCHER env NODE_PATH=/usr/share/nodejs)
