// c_Url: splits a URL into scheme, user information, domain, port, path,
// query and fragment. Parsing never fails: missing parts keep their
// defaults, and a port that is not a number reads as its leading digits
// (0 when there are none).
//
// Main thread only (collected object holding Strings).
#pragma once

#include "runtime/lang/object.h"
#include "runtime/lang/string.h"

class c_Url : public Object {
  public:
    String defaultScheme;
    int defaultPort = 0;
    String url;  // the text last parsed
    String scheme;
    String username;
    String password;
    String domain;
    int port = 0;
    String path;
    String query;
    String fragment;

    c_Url* m_new(const String& text, const String& defaultScheme, int defaultPort);

    void p_Set2(const String& text);
    // path, then "?" + query and "#" + fragment when they are not empty.
    String p_FullPath() const;
    String p_Domain() const { return domain; }
    int p_Port() const { return port; }
};
