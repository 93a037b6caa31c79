# One corpus recording replayed headless: skitterwind-replay must exit 0
# (every checkpoint matched) and report what <name>.txt holds (the levels
# with their endings, the final state hash, the checkpoint count).
#   cmake -DTOOL=... -DRECORDING=... -DEXPECTED=... -P check_replay.cmake
execute_process(COMMAND ${TOOL} ${RECORDING}
  OUTPUT_VARIABLE report ERROR_VARIABLE diagnostics RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "skitterwind-replay ${RECORDING} exited ${status}:\n${report}${diagnostics}")
endif()
file(READ ${EXPECTED} expected)
if(NOT report STREQUAL expected)
  message(FATAL_ERROR "the replay of ${RECORDING} reports\n${report}instead of\n${expected}"
    "(after a rule changed on purpose: make replays)")
endif()
