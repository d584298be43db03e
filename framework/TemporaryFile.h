#pragma once
// Writing a file so that nobody ever sees it half-written: the contents go to a temporary name
// beside the target (same folder, so the rename cannot cross volumes) and the target's name is
// given to them only once they are complete. A failed write removes the temporary file and
// leaves the target as it was.
#include <windows.h>
#include <string>

// What to do when a file already stands at the target's name when the new one is complete.
enum class ExistingTarget {
    Refuse,   // fail and keep the other file: the name was chosen free and is no longer ours
    Replace,  // replace it in one step; until then (and on any failure) it stays as it was
};

// A name beside the target that does not exist yet: "~" before the file name, with the same
// extension (writers that choose a format by extension still choose right), and a number added
// when that is taken too.
std::wstring TemporarySibling(const std::wstring& path);

// The last step: gives the temporary file the target's name when `written` succeeded, removes
// it otherwise. `written`, or the failure of the rename.
[[nodiscard]] HRESULT FinishTemporary(const std::wstring& temporary, const std::wstring& path,
                                      ExistingTarget existing, HRESULT written);

// Calls write(temporaryPath) -> HRESULT; when it succeeds the temporary file becomes the target.
// S_OK, write's failure, or the failure of the rename. (A template, so that no function object
// is allocated on a path that may be short of memory.)
template <typename Write>
[[nodiscard]] HRESULT WriteThroughTemporary(const std::wstring& path, ExistingTarget existing,
                                            Write&& write) {
    const std::wstring temporary = TemporarySibling(path);
    return FinishTemporary(temporary, path, existing, write(temporary));
}
