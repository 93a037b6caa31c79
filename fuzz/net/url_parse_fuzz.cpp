// URL parsing on arbitrary text. The first byte picks how the rest becomes
// units: one unit per byte, or one per byte pair (any 16-bit value).
// Checks that every part is where the parsing rules put it.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "net/url.h"

namespace {

void Check(bool holds) {
    if (!holds) std::abort();
}

bool Has(const String& text, const char* unit) {
    return text.Find(String(unit)) >= 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool started = (gc_mark(), true);  // queue the roots once, as the host does
    (void)started;
    if (size == 0) return 0;
    std::vector<Char> units;
    if (data[0] & 1) {
        for (size_t i = 1; i + 1 < size; i += 2)
            units.push_back(static_cast<Char>(data[i] | (data[i + 1] << 8)));
    } else {
        for (size_t i = 1; i < size; ++i) units.push_back(static_cast<Char>(data[i]));
    }
    String text(units.data(), static_cast<int>(units.size()));

    c_Url* url = gc_new<c_Url>()->m_new(text, String("http"), 80);
    Check(url->url == text);
    // The domain ends before the first ":" or "/" of the address part, which
    // ends before the first "?" or "#".
    for (const char* stop : {"/", ":", "?", "#"}) Check(!Has(url->p_Domain(), stop));
    Check(url->path.Length() > 0 && url->path[0] == u'/');
    Check(!Has(url->path, "?") && !Has(url->path, "#"));
    Check(!Has(url->query, "#"));
    Check(!Has(url->scheme, "?") && !Has(url->scheme, "#"));
    String full = url->p_FullPath();
    Check(full.StartsWith(url->path));
    if (url->query.IsEmpty() && url->fragment.IsEmpty()) Check(full == url->path);
    // Parsing the same text again gives the same parts.
    url->p_Set2(text);
    Check(url->p_FullPath() == full);

    gc_collect_all();
    gc_destroy_garbage();
    return 0;
}
