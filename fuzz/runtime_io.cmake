# Language runtime input handling: the text decoder on arbitrary bytes, and
# the data-path functions on arbitrary text.
tolvar_fuzz(string_load LABELS runtime
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/runtime_io/string_load_fuzz.cpp LIBS tolvar_lang)
tolvar_fuzz(datapath LABELS runtime
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/runtime_io/datapath_fuzz.cpp LIBS tolvar_lang)
