#pragma once
// The temporary file a recording's compressed pictures go to once the memory they may take is
// spent: in the user's temporary folder, named after the process that writes it
// ("TovrixRec-<process id>-<n>.tmp"), made on the first write and removed when closed. It is held
// open without delete sharing, so that no other process can remove it while it is in use (a
// command-line capture runs beside the tray program); RemoveLeftovers removes the files of
// processes that no longer run, which a crash may leave behind.
#include <windows.h>
#include <cstdint>
#include <string>
#include "CGifPictureSpill.h"

class CGifSpillFile : public CGifPictureSpill {
public:
    static constexpr const wchar_t* kPrefix = L"TovrixRec-";
    static constexpr const wchar_t* kExtension = L".tmp";

    CGifSpillFile() = default;
    ~CGifSpillFile() override { Close(); }
    CGifSpillFile(const CGifSpillFile&) = delete;
    CGifSpillFile& operator=(const CGifSpillFile&) = delete;

    bool Append(const void* bytes, size_t count, uint64_t& offset) override;
    bool Read(uint64_t offset, void* bytes, size_t count) override;
    // Closes and removes the file (nothing when none was made).
    void Close();
    // The file's path while it exists (empty before the first write).
    const std::wstring& Path() const { return m_path; }
    uint64_t Size() const { return m_size; }
    // Writes that would take the file past `bytes` fail as they do on a full disk.
    void SetLimit(uint64_t bytes) { m_limit = bytes; }
    // Where the files are made (the user's temporary folder unless set).
    void SetFolder(const std::wstring& folder) { m_folder = folder; }

    // The user's temporary folder, with a backslash at the end.
    static std::wstring TemporaryFolder();
    // Removes the files of this kind in `folder` whose process no longer runs and that nobody
    // holds open; gives how many were removed.
    static int RemoveLeftovers(const std::wstring& folder);

private:
    bool Create();

    HANDLE m_file = INVALID_HANDLE_VALUE;
    std::wstring m_folder;
    std::wstring m_path;
    uint64_t m_size = 0;
    uint64_t m_limit = UINT64_MAX;
};
