#include "CGifSpillFile.h"
#include <atomic>
#include <cwchar>

namespace {
std::atomic<unsigned> g_fileNumber{0};

bool MoveTo(HANDLE file, uint64_t offset) {
    LARGE_INTEGER at;
    at.QuadPart = static_cast<LONGLONG>(offset);
    return ::SetFilePointerEx(file, at, nullptr, FILE_BEGIN) != FALSE;
}

// True unless the process is known to have ended: a process that cannot be asked (another
// user's) counts as running, so that its file is never taken from it.
bool ProcessRuns(DWORD id) {
    HANDLE process = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE, FALSE, id);
    if (!process) return ::GetLastError() != ERROR_INVALID_PARAMETER;
    const bool ended = ::WaitForSingleObject(process, 0) == WAIT_OBJECT_0;
    ::CloseHandle(process);
    return !ended;
}
}  // namespace

std::wstring CGifSpillFile::TemporaryFolder() {
    wchar_t folder[MAX_PATH + 1] = {};
    const DWORD length = ::GetTempPathW(MAX_PATH + 1, folder);
    if (length == 0 || length > MAX_PATH) return std::wstring();
    std::wstring path(folder, length);
    if (path.back() != L'\\') path += L'\\';
    return path;
}

bool CGifSpillFile::Create() {
    std::wstring folder = m_folder.empty() ? TemporaryFolder() : m_folder;
    if (folder.empty()) return false;
    if (folder.back() != L'\\') folder += L'\\';
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::wstring path = folder + kPrefix + std::to_wstring(::GetCurrentProcessId()) + L"-" +
                                  std::to_wstring(++g_fileNumber) + kExtension;
        // No delete sharing: while it is open no one else removes it. Removed on close, by the
        // system too when the process ends without closing it.
        m_file = ::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                               FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
        if (m_file != INVALID_HANDLE_VALUE) {
            m_path = path;
            m_size = 0;
            return true;
        }
        if (::GetLastError() != ERROR_FILE_EXISTS && ::GetLastError() != ERROR_ALREADY_EXISTS) return false;
    }
    return false;
}

bool CGifSpillFile::Append(const void* bytes, size_t count, uint64_t& offset) {
    if (m_file == INVALID_HANDLE_VALUE && !Create()) return false;
    if (count > MAXDWORD || m_size + count > m_limit || !MoveTo(m_file, m_size)) return false;
    DWORD written = 0;
    if (!::WriteFile(m_file, bytes, static_cast<DWORD>(count), &written, nullptr) || written != count) {
        // What did get written is not counted: the next write starts where this one did.
        if (MoveTo(m_file, m_size)) ::SetEndOfFile(m_file);
        return false;
    }
    offset = m_size;
    m_size += count;
    return true;
}

bool CGifSpillFile::Read(uint64_t offset, void* bytes, size_t count) {
    if (m_file == INVALID_HANDLE_VALUE || count > MAXDWORD || offset + count > m_size || !MoveTo(m_file, offset))
        return false;
    DWORD read = 0;
    return ::ReadFile(m_file, bytes, static_cast<DWORD>(count), &read, nullptr) && read == count;
}

void CGifSpillFile::Close() {
    if (m_file != INVALID_HANDLE_VALUE) {
        ::CloseHandle(m_file);
        m_file = INVALID_HANDLE_VALUE;
        ::DeleteFileW(m_path.c_str());
    }
    m_path.clear();
    m_size = 0;
}

int CGifSpillFile::RemoveLeftovers(const std::wstring& folder) {
    if (folder.empty()) return 0;
    std::wstring base = folder;
    if (base.back() != L'\\') base += L'\\';
    WIN32_FIND_DATAW found{};
    HANDLE search = ::FindFirstFileW((base + kPrefix + L"*" + kExtension).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return 0;
    int removed = 0;
    const size_t prefix = std::wcslen(kPrefix);
    do {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        const std::wstring name = found.cFileName;
        // "TovrixRec-<process id>-<n>.tmp": anything else is not ours.
        wchar_t* end = nullptr;
        const unsigned long id = std::wcstoul(name.c_str() + prefix, &end, 10);
        if (end == name.c_str() + prefix || *end != L'-' || id == ::GetCurrentProcessId() ||
            ProcessRuns(static_cast<DWORD>(id)))
            continue;
        // A file still held open refuses to be removed: it stays.
        if (::DeleteFileW((base + name).c_str())) ++removed;
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
    return removed;
}
