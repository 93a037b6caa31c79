# Audio fuzz targets.
#   wav_load: the WAV reader on arbitrary bytes.
tolvar_fuzz(wav_load LABELS audio
  SOURCES ${PROJECT_SOURCE_DIR}/fuzz/audio/wav_load.cpp
  LIBS tolvar_audio)
