#pragma once
// The settings dialog, and the one object that holds the live capture settings for the whole
// run. Its own CaptureSettings members are what the dialog edits; the live settings, which
// captures read, change only when OK accepts the edit (Cancel and a refused OK leave them as
// they were). It loads the settings file when it opens, stores it on OK, and names the files
// that captures are saved to.
#include <windows.h>
#include <memory>
#include <string>
#include "CDialogEx.h"
#include "CIni.h"
#include "CMonitors.h"
#include "CScaledPicture.h"
#include "CaptureSettings.h"

class CMonitorSelectDlg;

class CTovrixDlg : public CDialogEx, public CaptureSettings {
public:

    CTovrixDlg();
    ~CTovrixDlg() override;

    // False (nothing changed) when the settings file does not exist yet.
    bool LoadSettings();
    // Takes the controls' values, validates them (showing why they are refused), stores every
    // key, makes the values live and rescans the save folder for the serial counter; false (a
    // refusal) leaves the file and the live settings untouched. Settings that cannot be written
    // are said to be so and still go live for this run.
    bool CommitSettings();
    // What captures use: the settings accepted by the last OK.
    const CaptureSettings& GetLiveSettings() const { return m_live; }
    static constexpr const wchar_t* kNotStoredText =
        L"설정을 파일에 저장하지 못했습니다. 이번 실행 동안에만 적용됩니다.";
    static constexpr const wchar_t* kOffScreenAreaText =
        L"선택한 영역이 화면 밖에 있어 캡쳐영역을 바꾸지 않았습니다.";
    // The next path to save a picture to (by the live settings); in serial mode the number is
    // used up. Empty when serial mode has run out of numbers.
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
    // "선택영역": the on-screen frame over the stored rectangle; its confirmed hole is stored.
    void OpenFixedRegionFrame();
    void ApplyFormatRule();
    void UpdateAreaLabel();
    void EnableResizeBoxes(bool enable);
    // Members to controls without the prefix filter reacting to its own writes.
    void WriteControls();

    // The edited values back to the live ones.
    void RestoreLiveSettings();

    CIni m_ini;
    CaptureSettings m_live;
    bool m_hasLive = false;     // an OK has been accepted during this run
    bool m_liveStored = true;   // and the settings file holds what it accepted
    CMonitors m_monitors;
    int m_monitorCount = 1;
    bool m_hasMonitorEntry = false;
    RECT m_formatRect{};  // the format list as laid out, in client coordinates
    std::unique_ptr<CMonitorSelectDlg> m_chooser;
    bool m_writingControls = false;
    // The banner: its picture at 100 % times the dialog's scale (the system lays out the rest).
    CScaledPicture m_banner;
};
