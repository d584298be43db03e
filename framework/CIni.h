#pragma once
// Reads and writes one settings file through the Windows profile functions. Holds only the
// file's path and caches nothing: every call goes to the file.
#include <string>

class CIni {
public:
    // The program's path with its extension replaced by ".ini"; false (path unset) when the
    // system cannot name the program.
    bool SetPathToModule();
    void SetPath(const std::wstring& path) { m_path = path; }
    std::wstring GetPath() const { return m_path; }

    // Values of any length. A missing key gives the default.
    std::wstring GetString(const wchar_t* section, const wchar_t* key, const wchar_t* defaultValue) const;
    // Empty or missing: the default; otherwise the leading decimal number read as unsigned and
    // returned as int (so "-5" reads as -5 and "abc" as 0).
    int GetInt(const wchar_t* section, const wchar_t* key, int defaultValue) const;
    // Empty or missing: the default; "true" and "yes" in any case are true, otherwise the leading
    // number decides.
    bool GetBool(const wchar_t* section, const wchar_t* key, bool defaultValue) const;

    // A null value writes an empty value; a null section or key writes nothing.
    bool WriteString(const wchar_t* section, const wchar_t* key, const wchar_t* value) const;
    bool WriteInt(const wchar_t* section, const wchar_t* key, int value) const;
    bool WriteBool(const wchar_t* section, const wchar_t* key, bool value) const;

private:
    // At most 64 characters: enough for any number the program writes.
    std::wstring GetShort(const wchar_t* section, const wchar_t* key) const;

    std::wstring m_path;
};
