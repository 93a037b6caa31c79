# Audio fuzz targets.
#   wav_load: the WAV reader on arbitrary bytes. The reader is compiled into
#   the target itself, so that a libFuzzer build instruments it for coverage.
tolvar_fuzz(wav_load LABELS audio
  SOURCES ${PROJECT_SOURCE_DIR}/fuzz/audio/wav_load.cpp ${PROJECT_SOURCE_DIR}/audio/wav_reader.cpp)
target_include_directories(fuzz_wav_load PRIVATE ${PROJECT_SOURCE_DIR})
