# SPDX-License-Identifier: GPL-3.0-or-later
# The one source list of the game, and its warning flags, for both builds:
# the desktop (CMakeLists.txt) and the web page (web/CMakeLists.txt) include
# this file. A new source file of the game goes here, once.

set(ZELVANOS_ROOT ${CMAKE_CURRENT_LIST_DIR}/..)
get_filename_component(ZELVANOS_ROOT ${ZELVANOS_ROOT} ABSOLUTE)

# The platform layer every backend builds on: surface, font, key queue and
# key translation, files, the scaler, the model of the texts on screen.
set(ZELVANOS_PLATFORM_SOURCES
  src/platform/cp852.cpp
  src/platform/files.cpp
  src/platform/font.cpp
  src/platform/graph.cpp
  src/platform/io_messages.cpp
  src/platform/keyqueue.cpp
  src/platform/keys.cpp
  src/platform/scaler.cpp
  src/platform/settings.cpp
  src/platform/surface.cpp
  src/platform/text_model.cpp)

# The headless backend and what replays need besides (PNG files through
# libpng); the desktop build only.
set(ZELVANOS_HEADLESS_SOURCES
  src/platform/headless.cpp
  src/platform/keyscript.cpp
  src/platform/png.cpp
  src/platform/recorder.cpp)

# The game itself: shell, game, screen and sound, on the platform layer
# alone. The entries (src/shell/main.cpp, src/shell/main_web.cpp) and the
# audio devices belong to each build.
set(ZELVANOS_CORE_SOURCES
  src/game/asked.cpp
  src/game/flow.cpp
  src/game/game.cpp
  src/game/highscores.cpp
  src/game/lifelines.cpp
  src/game/outcomes.cpp
  src/game/question_sets.cpp
  src/game/questions.cpp
  src/screen/gamescreen.cpp
  src/screen/logo.cpp
  src/screen/reveal.cpp
  src/shell/about.cpp
  src/shell/factory_files.cpp
  src/shell/indicators.cpp
  src/shell/menu.cpp
  src/shell/messages.cpp
  src/shell/name_rules.cpp
  src/shell/reset.cpp
  src/shell/settings.cpp
  src/shell/settings_screens.cpp
  src/sound/sound.cpp
  src/sound/soundsets.cpp)

# The question tool's compiler and checker: the tool's, and the web page's
# for an author's own questions.
set(ZELVANOS_QUESTIONS_SOURCES
  tools/questions/difficulty.cpp
  tools/questions/source.cpp
  tools/questions/wording.cpp)

list(TRANSFORM ZELVANOS_PLATFORM_SOURCES PREPEND ${ZELVANOS_ROOT}/)
list(TRANSFORM ZELVANOS_QUESTIONS_SOURCES PREPEND ${ZELVANOS_ROOT}/)
list(TRANSFORM ZELVANOS_HEADLESS_SOURCES PREPEND ${ZELVANOS_ROOT}/)
list(TRANSFORM ZELVANOS_CORE_SOURCES PREPEND ${ZELVANOS_ROOT}/)

# Our own code builds with many warnings; CI makes them errors. They are not
# errors by default, so that a build with a packager's flags or a newer
# compiler never fails on a warning alone.
option(ZELVANOS_WERROR "Treat warnings in our own code as errors" OFF)
add_library(zelvanos_warnings INTERFACE)
target_compile_options(zelvanos_warnings INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wold-style-cast -Wcast-align
  -Wunused -Woverloaded-virtual -Wimplicit-fallthrough $<$<BOOL:${ZELVANOS_WERROR}>:-Werror>)
