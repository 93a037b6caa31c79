# The game's input handling: the saved-state string read back by p_Load on
# arbitrary file contents, on a headless game object.
tolvar_fuzz(save_string LABELS game
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/game/save_string_fuzz.cpp
          ${PROJECT_SOURCE_DIR}/tests/game_support/headless_game.cpp
  LIBS skitterwind_game)
