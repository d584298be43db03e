#pragma once
// The settings dialog, and the one object that holds the live capture settings for the whole
// run: it loads them from the settings file when it opens, stores them on OK, restores the
// file's values on Cancel, and names the files that captures are saved to.
#include <windows.h>
#include <memory>
#include <string>
#include "CDialogEx.h"
#include "CIni.h"
#include "CMonitors.h"
#include "CaptureSettings.h"

class CMonitorSelectDlg;

class CTovrixDlg : public CDialogEx, public CaptureSettings {
public:
    static constexpr wchar_t kDownloadAddress[] = L"https://tovrix.example/download";

    CTovrixDlg();
    ~CTovrixDlg() override;

    // False (nothing changed) when the settings file does not exist yet.
    bool LoadSettings();
    // Takes the controls' values, validates them (showing why they are refused), stores every
    // key and rescans the save folder for the serial counter; false leaves the file untouched.
    bool CommitSettings();
    // The next path to save a picture to; in serial mode the number is used up.
    std::wstring BuildOutputPath();

    int NextSerial = -1;

    const CMonitors& GetMonitors() const { return m_monitors; }
    const CIni& GetIni() const { return m_ini; }
    // Keeps the settings in another file than the one beside the program.
    void UseSettingsFile(const std::wstring& path) { m_ini.SetPath(path); }
    // The monitor chooser while it is open, else null.
    CMonitorSelectDlg* GetMonitorChooser() const { return m_chooser.get(); }

    // The area list with or without the "선택 모니터" entry: entry index <-> capture area.
    static int AreaFromEntry(int entry, bool hasMonitorEntry);
    static int EntryFromArea(int area, bool hasMonitorEntry);
    static std::wstring AreaLabel(int area, int monitorIndex, const RECT& areaRect);

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    void OnOK() override;
    void OnCancel() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void OnAreaChange();
    void OnFormatChange();
    void OnQualityChange();
    void OnBrowseFolder();
    void OnPrefixChange();
    void OnResizeClick();
    void OnBannerClick();
    LRESULT OnMonitorSelected(WPARAM wParam, LPARAM lParam);
    LRESULT OnCtlColorStatic(HDC dc, HWND control);

    void OpenMonitorChooser();
    void ApplyFormatRule();
    void UpdateAreaLabel();
    void EnableResizeBoxes(bool enable);
    // Members to controls without the prefix filter reacting to its own writes.
    void WriteControls();

    CIni m_ini;
    CMonitors m_monitors;
    int m_monitorCount = 1;
    bool m_hasMonitorEntry = false;
    RECT m_formatRect{};  // the format list as laid out, in client coordinates
    std::unique_ptr<CMonitorSelectDlg> m_chooser;
    bool m_writingControls = false;
};
