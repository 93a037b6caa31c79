// The data-path functions on arbitrary text. The first byte picks how the
// rest becomes text: as a file's bytes (UTF-8 or single bytes) or as raw
// little-endian 16-bit units. Checks: fixing is idempotent and only ever
// prefixes "tolvar://data/"; mapping leaves non-"tolvar:" paths alone and
// otherwise yields the empty path or a path under the application folder.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "runtime/lang/datapath.h"

namespace {

void check(bool condition) {
    if (!condition) std::abort();
}

String text_of(const uint8_t* data, size_t size) {
    if (size == 0) return String();
    const uint8_t* rest = data + 1;
    int count = static_cast<int>(size - 1);
    if (data[0] & 1) return String::FromFileBytes(rest, count);
    std::u16string units;
    for (int i = 0; i + 1 < count; i += 2) units += static_cast<char16_t>(rest[i] | rest[i + 1] << 8);
    return String(units);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 4096) return 0;
    const String app("/app");
    const String dataScheme("tolvar://data/");
    String path = text_of(data, size);

    String fixed = zq_data_FixDataPath(path);
    check(fixed == path || fixed == dataScheme + path);
    check(zq_data_FixDataPath(fixed) == fixed);

    for (const String& candidate : {path, fixed}) {
        String mapped = zq_TolvarPathToFilePath(candidate, app);
        if (!candidate.StartsWith(String("tolvar:")))
            check(mapped == candidate);
        else
            check(mapped.IsEmpty() || mapped.StartsWith(String("/app/")));
    }
    // A bare name always lands in the data folder.
    if (fixed != path) check(zq_TolvarPathToFilePath(fixed, app) == String("/app/data/") + path);
    return 0;
}
