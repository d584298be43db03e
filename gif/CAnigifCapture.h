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
    // Asked before frames that were not saved are given up (a new recording, closing, the end of
    // the program), and before the program ends during a recording.
    static constexpr const wchar_t* kKeptFramesText =
        L"저장하지 않은 프레임이 있습니다. GIF 파일로 저장할까요?\n예: 저장, 아니요: 버리기, 취소: 돌아가기";
    static constexpr const wchar_t* kEndWhileRecordingText =
        L"녹화중입니다. 지금까지 녹화한 것을 GIF 파일로 저장할까요?\n예: 저장하고 끝내기, 아니요: 버리고 끝내기, "
        L"취소: 계속 녹화하기";

    // nextStillPath names the next still capture (the ".gif" goes beside it). The settings come
    // from `iniPath`, or the program's settings file when it is empty.
    CAnigifCapture(CWnd* parent, std::function<std::wstring()> nextStillPath, const std::wstring& iniPath = {});
    ~CAnigifCapture() override;

    // The record/stop command of the button and of F5.
    void OnRecord();
    // Before the program ends: while a recording runs or unsaved frames are kept, asks whether
    // to save them (written at once into the save folder, never through the frame editor),
    // throw them away or stay. False: the program must not end now (the user stays, the save
    // failed, or something of the recorder waits for the user).
    bool ConfirmEnd();

    const GifRecorderSettings& Settings() const { return m_settings; }
    CGifRecording& Recording() { return m_recording; }
    CGifSnapDlg& FrameWindow() { return m_snap; }
    const CxSkinButton& RecordButton() const { return m_record; }
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
    static constexpr UINT_PTR kStoppedTimer = 1;

    void OnClose();
    void OnResizeClicked();
    void OnOverlayClicked();
    void OnAreaChanged();
    void OnFrameAdded(WPARAM count);
    void OnRecordingStopped(WPARAM reason);
    void OnDestroy();
    void RunRecordCommand();
    // The skinned Record button at the dialog's new scale; the system lays out the rest.
    void OnDpiChanged(UINT dpi);
    void StartRecording();
    void StopRecording();
    // The recording thread ended and the dialog back in its idle state, the frame window hidden.
    void EndRecording();
    // The frames written straight into the save folder; false when they stay unsaved.
    bool SaveFrames();
    // Asks what becomes of the unsaved frames; true when none are left.
    bool SettleKeptFrames();
    int Ask(const std::wstring& text, UINT type);
    void ShowIdle();
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
    // Set while frames are being finished off (the stop sequence's save or frame editor, a save
    // of kept frames), which lets messages through: a record command, a second stop or closing
    // the dialog then must wait.
    bool m_finishing = false;
    bool m_hotKey = false;
    // Closed, but still there while a dialog opened over it ends (its loop runs inside this
    // dialog's): out of sight, and deaf to every command.
    bool m_ended = false;
    RECT m_area{};
    std::wstring m_lastSaved;
};
