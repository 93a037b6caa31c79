// The running program's place on Windows (the list is in
// platform_process.h): GetModuleFileNameW, with backslashes turned into "/". Saved
// files are durable once written through (platform_files_windows.cpp).
#include <windows.h>

#include <string>
#include <string_view>

#include "runtime/lang/platform_process.h"

String zq_ProgramPath() {
    // Long paths exceed MAX_PATH: grow until the whole name fits.
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0) return String();
        if (n < path.size()) {
            path.resize(n);
            break;
        }
        if (path.size() >= 32768) return String();
        path.resize(path.size() * 2);
    }
    for (wchar_t& unit : path)
        if (unit == L'\\') unit = L'/';
    return String(std::u16string_view(reinterpret_cast<const char16_t*>(path.data()), path.size()));
}

void zq_PersistSavedFiles() {}
