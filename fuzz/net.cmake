# Networking input handling: URL text of any content, and server responses
# of any bytes split into any sequence of receives.
tolvar_fuzz(url_parse LABELS net
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/net/url_parse_fuzz.cpp LIBS tolvar_net)
tolvar_fuzz(http_response LABELS net
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/net/http_response_fuzz.cpp LIBS tolvar_net)
