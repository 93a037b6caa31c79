# Session recordings: the reader on arbitrary bytes (corpus: real
# recordings of the game, some cut short or damaged).
tolvar_fuzz(replay_read LABELS runtime
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/replay/replay_read_fuzz.cpp LIBS tolvar_replay_format)
