// Files, data paths and the saved state on Windows (the list is in
// platform_files.h).
//
//   file names      a String's units are the UTF-16 name: _wfopen, so that
//                   folders named with any characters (accents, emoji) work
//   file facts      GetFileInformationByHandle: volume serial, file index,
//                   size and last write time
//   state target    "./.tolvarstate" itself (links are not followed)
//   temporaries     "<target>.<process id>.tmp"; those of ended processes
//                   are removed
//   durability      _commit (FlushFileBuffers) of the data, then
//                   ReplaceFileW over an existing state file (it keeps the
//                   file's attributes and permissions) or MoveFileExW with
//                   MOVEFILE_WRITE_THROUGH for a new one
//
// Limits: a state file that another program holds open without sharing
// cannot be replaced; the save then fails (-1) and the file is kept.
#include <io.h>
#include <windows.h>

#include <cerrno>
#include <cstring>
#include <cwchar>
#include <string>

#include "runtime/lang/filename.h"
#include "runtime/lang/platform_files.h"

namespace {

// The UTF-16 name of a String; false when it holds a unit 0.
bool wide_name(const String& name, std::wstring& out) {
    out.assign(reinterpret_cast<const wchar_t*>(name.Data()), static_cast<size_t>(name.Length()));
    return out.find(L'\0') == std::wstring::npos;
}

// The UTF-16 name of codec bytes (the state file's own names).
std::wstring wide_of(const std::string& bytes) {
    std::wstring out;
    wide_name(zq_FileNameText(bytes), out);
    return out;
}

std::string folder_of(const std::string& path) {
    size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? "." : path.substr(0, slash);
}

std::string name_of(const std::string& path) {
    size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

bool process_has_ended(DWORD pid) {
    HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
    if (!process) return GetLastError() == ERROR_INVALID_PARAMETER;  // no such process
    bool ended = WaitForSingleObject(process, 0) == WAIT_OBJECT_0;
    CloseHandle(process);
    return ended;
}

}  // namespace

// [SECTION] Files ------------------------------------------------------------

std::FILE* zq_OpenFileName(const String& name, const char* mode) {
    std::wstring path;
    if (!wide_name(name, path)) return nullptr;
    std::wstring how(mode, mode + std::strlen(mode));
    return _wfopen(path.c_str(), how.c_str());
}

bool zq_FileFactsOf(const String& name, zq_FileFacts& facts) {
    std::wstring path;
    if (!wide_name(name, path)) return false;
    HANDLE file = CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    BY_HANDLE_FILE_INFORMATION info;
    bool known = GetFileInformationByHandle(file, &info) != 0;
    CloseHandle(file);
    if (!known || (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) return false;
    facts.device = info.dwVolumeSerialNumber;
    facts.inode = static_cast<std::uint64_t>(info.nFileIndexHigh) << 32 | info.nFileIndexLow;
    facts.size =
        static_cast<std::int64_t>(static_cast<std::uint64_t>(info.nFileSizeHigh) << 32 | info.nFileSizeLow);
    // 100-nanosecond ticks since 1601 to nanoseconds since 1970.
    std::int64_t ticks =
        static_cast<std::int64_t>(static_cast<std::uint64_t>(info.ftLastWriteTime.dwHighDateTime) << 32 |
                                  info.ftLastWriteTime.dwLowDateTime);
    facts.mtimeNs = (ticks - 116444736000000000LL) * 100;
    return true;
}

// [SECTION] Saved-state file -----------------------------------------------

std::string zq_StateFileTarget(const char* statePath) {
    return statePath;
}

void zq_RemoveStaleTemporaries(const std::string& target) {
    std::string folder = folder_of(target);
    std::string prefix = name_of(target) + ".";
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(wide_of(folder + "/" + prefix + "*.tmp").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        std::wstring wide = found.cFileName;
        std::string name(wide.begin(), wide.end());  // the names sought are ASCII
        if (name.size() <= prefix.size() + 4 || name.compare(0, prefix.size(), prefix) != 0) continue;
        std::string digits = name.substr(prefix.size(), name.size() - prefix.size() - 4);
        if (digits.empty() || digits.size() > 9 ||
            digits.find_first_not_of("0123456789") != std::string::npos)
            continue;
        DWORD pid = static_cast<DWORD>(std::stoul(digits));
        if (pid == GetCurrentProcessId() || !process_has_ended(pid)) continue;
        DeleteFileW(wide_of(folder + "/" + name).c_str());
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

bool zq_IsReadOnlyFile(const std::string& target) {
    std::wstring path = wide_of(target);
    DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return false;
    // The attribute binds every user, administrators too.
    if (attributes & FILE_ATTRIBUTE_READONLY) return true;
    // Opening for writing asks the file's permissions, without changing
    // the file.
    HANDLE file =
        CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_ACCESS_DENIED;
    CloseHandle(file);
    return false;
}

std::FILE* zq_CreateTemporaryFor(const std::string& target, std::string& temporary, bool& denied) {
    // One temporary name per process, so two programs saving in the same
    // folder never write into each other's file.
    temporary = target + "." + std::to_string(GetCurrentProcessId()) + ".tmp";
    std::FILE* stream = _wfopen(wide_of(temporary).c_str(), L"wb");
    denied = !stream && errno == EACCES;
    return stream;
}

bool zq_SyncFile(std::FILE* stream) {
    return std::fflush(stream) == 0 && _commit(_fileno(stream)) == 0;
}

bool zq_ReplaceFile(const std::string& temporary, const std::string& target) {
    std::wstring from = wide_of(temporary), to = wide_of(target);
    if (GetFileAttributesW(to.c_str()) != INVALID_FILE_ATTRIBUTES &&
        ReplaceFileW(to.c_str(), from.c_str(), nullptr, REPLACEFILE_IGNORE_MERGE_ERRORS, nullptr, nullptr))
        return true;
    // A new state file, or one that ReplaceFileW cannot handle (another
    // file system): a plain replacing move, written through to disk.
    return MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

void zq_RemoveFile(const std::string& name) {
    DeleteFileW(wide_of(name).c_str());
}
