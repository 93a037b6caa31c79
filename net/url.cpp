// URL parsing. Positions are unit indexes, slices [a, b) include a and
// exclude b, and every search finds the first occurrence at or after its
// start.
#include "net/url.h"

c_Url* c_Url::m_new(const String& text, const String& scheme0, int port0) {
    defaultScheme = scheme0;
    defaultPort = port0;
    p_Set2(text);
    return this;
}

void c_Url::p_Set2(const String& text) {
    url = text;
    scheme = defaultScheme;
    username = String();
    password = String();
    domain = String();
    port = defaultPort;
    path = String("/");
    query = String();
    fragment = String();

    // The address part ends at the first "?" or "#"; a "?" after the "#"
    // belongs to the fragment.
    int length = text.Length();
    int q = text.Find(String("?"));
    int h = text.Find(String("#"));
    if (q >= 0 && h >= 0 && h < q) q = -1;
    int end = q >= 0 ? q : (h >= 0 ? h : length);

    int start = 0;
    int schemeEnd = text.Find(String("://"));
    if (schemeEnd >= 0 && schemeEnd < end) {
        scheme = text.Slice(0, schemeEnd);
        start = schemeEnd + 3;
    }

    int at = text.Find(String("@"), start);
    if (at >= 0 && at < end) {
        int colon = text.Find(String(":"), start);
        if (colon >= 0 && colon < at) {
            username = text.Slice(start, colon);
            password = text.Slice(colon + 1, at);
        } else {
            username = text.Slice(start, at);
        }
        start = at + 1;
    }

    int colon = text.Find(String(":"), start);
    if (colon >= end) colon = -1;
    int slash = text.Find(String("/"), start);
    if (slash >= end) slash = -1;

    if (colon < 0 && slash < 0) {
        domain = text.Slice(start, end);
    } else if (slash < 0) {
        domain = text.Slice(start, colon);
        port = text.Slice(colon + 1, end).ToInt();
    } else if (colon < 0 || slash <= colon) {
        // A ":" after the first "/" belongs to the path.
        domain = text.Slice(start, slash);
        path = text.Slice(slash, end);
    } else {
        domain = text.Slice(start, colon);
        port = text.Slice(colon + 1, slash).ToInt();
        path = text.Slice(slash, end);
    }

    if (q >= 0) query = text.Slice(q + 1, h >= 0 ? h : length);
    if (h >= 0) fragment = text.Slice(h + 1, length);
}

String c_Url::p_FullPath() const {
    String full = path;
    if (!query.IsEmpty()) full = full + "?" + query;
    if (!fragment.IsEmpty()) full = full + "#" + fragment;
    return full;
}
