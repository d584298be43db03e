#pragma once
// The GIF recorder's small control dialog: it shows the recording frame over the screen, holds
// the output size, frame rate, quality, cursor, overlay and editing choices (section "AniGif"),
// and starts and stops the recording with its Record button or the global F5 key. The frames are
// taken, kept and written by the recording store it embeds.
//
//   CAnigifCapture recorder(mainFrame, [&] { return settings.BuildOutputPath(); });
//   recorder.DoModal();
#include <windows.h>
#include <functional>
#include <string>
#include "CComboBox.h"
#include "CDialogEx.h"
#include "CGifRecording.h"
#include "CGifSnapDlg.h"
#include "CIni.h"
#include "CTestOutlineTextDlg.h"
#include "CxSkinButton.h"
#include "GifRecorderSettings.h"

class CAnigifCapture : public CDialogEx {
public:
    static constexpr int kHotKeyId = 1;
    static constexpr const wchar_t* kRecordText = L"Record(F5)";
    static constexpr const wchar_t* kStopText = L"Stop(F5)";
    static constexpr const wchar_t* kRecordingText = L"녹화중입니다.";

    // nextStillPath names the next still capture (the ".gif" goes beside it). The settings come
    // from `iniPath`, or the program's settings file when it is empty.
    CAnigifCapture(CWnd* parent, std::function<std::wstring()> nextStillPath, const std::wstring& iniPath = {});
    ~CAnigifCapture() override;

    // The record/stop command of the button and of F5.
    void OnRecord();

    const GifRecorderSettings& Settings() const { return m_settings; }
    CGifRecording& Recording() { return m_recording; }
    CGifSnapDlg& FrameWindow() { return m_snap; }
    CTestOutlineTextDlg& Overlay() { return m_overlay; }
    bool IsRecording() const { return m_recordingNow; }
    // The area of the last recording (or of the frame when idle), screen coordinates.
    const RECT& GetArea() const { return m_area; }
    // The file the last save wrote (empty before one).
    const std::wstring& LastSavedPath() const { return m_lastSaved; }

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    BOOL PreTranslateMessage(MSG* msg) override;
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    void OnOK() override { OnClose(); }
    void OnCancel() override { OnClose(); }

private:
    void OnClose();
    void OnResizeClicked();
    void OnOverlayClicked();
    void OnAreaChanged();
    void OnFrameAdded(WPARAM count);
    void OnRecordingStopped(WPARAM reason);
    void OnDestroy();
    void StartRecording();
    void StopRecording();
    void EnableSettings(BOOL enable);
    void ShowAreaCaption();
    bool OverlayOn() const;
    void ShowOverlayState();

    GifRecorderSettings m_settings;
    // The logo and caption drawn on every kept frame, and their dialog.
    CTestOutlineTextDlg m_overlay;
    CIni m_ini;
    CComboBox m_quality;
    CxSkinButton m_record;
    CGifSnapDlg m_snap;
    CGifRecording m_recording;
    std::function<std::wstring()> m_nextStillPath;
    bool m_recordingNow = false;
    // Set while the stop sequence saves (its progress window lets messages through): a record
    // command, a second stop or closing the dialog then must wait.
    bool m_stopping = false;
    bool m_hotKey = false;
    RECT m_area{};
    std::wstring m_lastSaved;
};
