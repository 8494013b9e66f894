// SPDX-License-Identifier: Apache-2.0
// The host on Windows: paths and the command line go through the wide
// (UTF-16) functions and come back as UTF-8, so that any name survives.
#include "Host.h"

#include <cstdio>
#include <memory>

#include <fcntl.h>
#include <io.h>
#include <windows.h>
#include <shellapi.h>

#include <vellmeta/System.h>

namespace vellmeta {

namespace host {

namespace {

std::wstring wide(std::string_view utf8)
{
    if (utf8.empty())
        return {};
    const int n = ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring out(static_cast<std::size_t>(n), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), out.data(), n);
    return out;
}

std::string utf8(std::wstring_view text)
{
    if (text.empty())
        return {};
    const int n = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                        nullptr);
    std::string out(static_cast<std::size_t>(n), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
    return out;
}

// The host's problem in the words a POSIX host uses for the same, so that
// messages read alike on every platform; the system's own text otherwise.
std::string errorText(DWORD error)
{
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_NETPATH:
        return "No such file or directory";
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        return "Permission denied";
    case ERROR_DIRECTORY:
        return "Not a directory";
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS:
        return "File exists";
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
        return "Cannot allocate memory";
    case ERROR_CANT_RESOLVE_FILENAME:
        return "Too many levels of symbolic links";
    default:
        break;
    }
    wchar_t* text = nullptr;
    const DWORD n = ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                         FORMAT_MESSAGE_IGNORE_INSERTS,
                                     nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::string out = n > 0 ? utf8(std::wstring_view(text, n)) : "error " + std::to_string(error);
    ::LocalFree(text);
    while (!out.empty() && (out.back() == '\n' || out.back() == '\r' || out.back() == ' ' || out.back() == '.'))
        out.pop_back();
    return out;
}

std::string lastErrorText() { return errorText(::GetLastError()); }

struct HandleCloser {
    void operator()(void* h) const { ::CloseHandle(h); }
};
using Handle = std::unique_ptr<void, HandleCloser>;

bool isLink(DWORD attributes, DWORD reparseTag)
{
    return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 &&
           (reparseTag == IO_REPARSE_TAG_SYMLINK || reparseTag == IO_REPARSE_TAG_MOUNT_POINT);
}

// Opens `path` for examining or reading; folders open too.
Handle openPath(const std::string& path, DWORD access, bool followLinks)
{
    const DWORD flags = FILE_FLAG_BACKUP_SEMANTICS | (followLinks ? 0 : FILE_FLAG_OPEN_REPARSE_POINT);
    HANDLE h = ::CreateFileW(wide(path).c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                             nullptr, OPEN_EXISTING, flags, nullptr);
    return Handle(h == INVALID_HANDLE_VALUE ? nullptr : h);
}

std::string examineHandle(HANDLE h, bool linkItself, Kind& kind, FileFacts& facts)
{
    switch (::GetFileType(h)) {
    case FILE_TYPE_PIPE:
        kind = Kind::Fifo;
        facts = {};
        return {};
    case FILE_TYPE_CHAR:
        kind = Kind::Device;
        facts = {};
        return {};
    case FILE_TYPE_DISK:
        break;
    default:
        kind = Kind::Other;
        facts = {};
        return {};
    }
    BY_HANDLE_FILE_INFORMATION info{};
    if (!::GetFileInformationByHandle(h, &info))
        return lastErrorText();
    kind = (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? Kind::Folder : Kind::Regular;
    if (linkItself && (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
        FILE_ATTRIBUTE_TAG_INFO tag{};
        if (::GetFileInformationByHandleEx(h, FileAttributeTagInfo, &tag, sizeof tag) &&
            isLink(tag.FileAttributes, tag.ReparseTag))
            kind = Kind::Link;
    }
    facts.device = info.dwVolumeSerialNumber;
    facts.inode = static_cast<std::uint64_t>(info.nFileIndexHigh) << 32 | info.nFileIndexLow;
    facts.size = static_cast<std::uint64_t>(info.nFileSizeHigh) << 32 | info.nFileSizeLow;
    // 100-nanosecond ticks since 1601, as nanoseconds since 1970.
    const std::int64_t ticks =
        static_cast<std::int64_t>(static_cast<std::uint64_t>(info.ftLastWriteTime.dwHighDateTime) << 32 |
                                  info.ftLastWriteTime.dwLowDateTime);
    facts.modifiedNs = (ticks - 116444736000000000LL) * 100;
    return {};
}

} // namespace

std::string examine(const std::string& path, bool followLinks, Kind& kind, FileFacts& facts)
{
    const Handle h = openPath(path, FILE_READ_ATTRIBUTES, followLinks);
    if (!h)
        return lastErrorText();
    return examineHandle(h.get(), !followLinks, kind, facts);
}

std::string listFolder(const std::string& path, const std::function<bool(const FolderId&)>& wanted,
                       const std::function<void(std::string_view name, Kind kind)>& entry)
{
    Kind kind = Kind::Unknown;
    FileFacts facts;
    {
        const Handle folder = openPath(path, FILE_READ_ATTRIBUTES, true);
        if (!folder)
            return lastErrorText();
        if (!examineHandle(folder.get(), false, kind, facts).empty())
            return {};
    }
    if (kind != Kind::Folder)
        return errorText(ERROR_DIRECTORY);
    if (!wanted({facts.device, facts.inode}))
        return {};
    std::wstring pattern = wide(path);
    if (!pattern.empty() && pattern.back() != L'/' && pattern.back() != L'\\')
        pattern += L'\\';
    pattern += L'*';
    WIN32_FIND_DATAW found{};
    HANDLE search = ::FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &found, FindExSearchNameMatch, nullptr,
                                       FIND_FIRST_EX_LARGE_FETCH);
    if (search == INVALID_HANDLE_VALUE)
        return ::GetLastError() == ERROR_FILE_NOT_FOUND ? std::string() : lastErrorText();
    do {
        const std::wstring_view name = found.cFileName;
        if (name == L"." || name == L"..")
            continue;
        const Kind k = isLink(found.dwFileAttributes, found.dwReserved0)                ? Kind::Link
                       : (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? Kind::Folder
                                                                                        : Kind::Regular;
        entry(utf8(name), k);
    } while (::FindNextFileW(search, &found));
    const DWORD error = ::GetLastError();
    ::FindClose(search);
    return error == ERROR_NO_MORE_FILES ? std::string() : errorText(error);
}

std::string realPath(const std::string& path)
{
    const Handle h = openPath(path, FILE_READ_ATTRIBUTES, true);
    if (!h)
        return {};
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = ::GetFinalPathNameByHandleW(h.get(), buffer.data(), static_cast<DWORD>(buffer.size()),
                                                    FILE_NAME_NORMALIZED);
        if (n == 0)
            return {};
        if (n < buffer.size()) {
            buffer.resize(n);
            break;
        }
        buffer.resize(n);
    }
    std::string real = utf8(buffer);
    if (real.rfind("\\\\?\\UNC\\", 0) == 0)
        real = "\\\\" + real.substr(8);
    else if (real.rfind("\\\\?\\", 0) == 0)
        real = real.substr(4);
    for (char& c : real)
        if (c == '\\')
            c = '/';
    return real;
}

InputFile::~InputFile()
{
    if (handle_ != -1)
        ::CloseHandle(reinterpret_cast<HANDLE>(handle_));
}

std::string InputFile::open(const std::string& path)
{
    // Opening never waits on Windows: a named pipe without a free instance
    // fails at once.
    Handle h = openPath(path, GENERIC_READ, true);
    if (!h)
        return lastErrorText();
    handle_ = reinterpret_cast<std::intptr_t>(h.release());
    return {};
}

std::string InputFile::examine(Kind& kind, FileFacts& facts) const
{
    return examineHandle(reinterpret_cast<HANDLE>(handle_), false, kind, facts);
}

std::string InputFile::waitForBytes() { return {}; }

namespace {

long long readFrom(HANDLE h, unsigned char* to, std::size_t size, std::string& problem)
{
    DWORD got = 0;
    const DWORD wanted = size > 0x40000000u ? 0x40000000u : static_cast<DWORD>(size);
    if (::ReadFile(h, to, wanted, &got, nullptr))
        return got;
    const DWORD error = ::GetLastError();
    if (error == ERROR_BROKEN_PIPE || error == ERROR_HANDLE_EOF)
        return 0; // the writer has closed its end
    problem = error == ERROR_ACCESS_DENIED ? "Is a directory" : errorText(error);
    return -1;
}

} // namespace

long long InputFile::read(unsigned char* to, std::size_t size, std::string& problem)
{
    return readFrom(reinterpret_cast<HANDLE>(handle_), to, size, problem);
}

long long readStandardInput(unsigned char* to, std::size_t size, std::string& problem)
{
    HANDLE in = ::GetStdHandle(STD_INPUT_HANDLE);
    if (in == nullptr || in == INVALID_HANDLE_VALUE)
        return 0; // no standard input at all reads as an empty one
    return readFrom(in, to, size, problem);
}

} // namespace host

std::vector<std::string> commandLineArguments(int argc, char** argv)
{
    int count = 0;
    const std::unique_ptr<wchar_t*, decltype(&::LocalFree)> wideArguments(
        ::CommandLineToArgvW(::GetCommandLineW(), &count), ::LocalFree);
    if (!wideArguments)
        return {argv, argv + argc};
    std::vector<std::string> arguments;
    for (int i = 0; i < count; ++i)
        arguments.push_back(host::utf8(wideArguments.get()[i]));
    return arguments;
}

void useBinaryStandardStreams()
{
    ::_setmode(::_fileno(stdin), _O_BINARY);
    ::_setmode(::_fileno(stdout), _O_BINARY);
    ::_setmode(::_fileno(stderr), _O_BINARY);
    ::SetConsoleOutputCP(CP_UTF8);
}

bool standardErrorIsTerminal() { return ::_isatty(::_fileno(stderr)) != 0; }

NewFile createNewFile(const std::string& path)
{
    HANDLE h = ::CreateFileW(host::wide(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                             CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h != INVALID_HANDLE_VALUE) {
        ::CloseHandle(h);
        return NewFile::Created;
    }
    const DWORD error = ::GetLastError();
    return error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS ? NewFile::Existed : NewFile::Failed;
}

} // namespace vellmeta
