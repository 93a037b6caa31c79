# Graphics input handling: image files of any content, through the decoder,
# the size limits and the front end's image construction.
tolvar_fuzz(image_load LABELS graphics
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/graphics/image_load_fuzz.cpp LIBS tolvar_graphics)
