#pragma once
// The program's main window, never shown: it owns the tray icon, hears the capture key through
// raw keyboard input from the whole desktop, holds the picture that a capture fills and saves,
// and carries out the tray menu's commands. Destroying it ends the program.
#include <windows.h>
#include <functional>
#include <string>
#include "CFrameWnd.h"
#include "CScreenImage.h"
#include "CTrayNotifyIcon.h"
#include "CaptureSettings.h"

class CAnigifCapture;
class CDialog;
class CScreenPickerDlg;
class CTovrixDlg;

class CMainFrame : public CFrameWnd {
public:
    // The live settings, where the next picture goes, and the dialog that edits the settings
    // (null: the Settings item does nothing). All three outlive the frame.
    CMainFrame(const CaptureSettings& settings, std::function<std::wstring()> buildOutputPath,
               CDialog* settingsDialog);
    // The program's own: the settings dialog object holds all three.
    explicit CMainFrame(CTovrixDlg& settings);

    // Creates the hidden frame titled "Tovrix". On failure the frame has already deleted itself
    // and the pointer must be forgotten.
    BOOL CreateHidden();

    // What became of one keyboard event.
    enum class CaptureResult {
        Ignored,           // not the release of the capture key
        Busy,              // a capture, or something else that waits for the user, is running
        NothingToCapture,  // the area gave an empty rectangle (the user is told once)
        Abandoned,         // the user cancelled a picker or the editor
        Saved,
        SaveFailed,        // the "Error" message was shown (also for a grab that failed)
        FrameGone,         // the frame was destroyed during a nested loop: touch nothing more
    };
    // The capture pipeline for one raw keyboard event: the configured key's release captures
    // the configured area and saves it.
    CaptureResult OnKeyboardEvent(const RAWINPUT& input);

    // Saves the picture under the next name (resized first when asked); 0 or the failure code.
    // Also the handler of WM_SAVE_CAPTURE, which the web page capture sends; that message is
    // refused (ERROR_BUSY) while something waits for the user: a capture's editor may hold the
    // picture.
    LRESULT OnSaveCapture(WPARAM wParam, LPARAM lParam);

    // The settings file of the GIF recorder (the program's own when empty).
    void SetRecorderSettingsFile(const std::wstring& path) { m_recorderSettingsFile = path; }
    // The GIF recorder while it is open, else null.
    CAnigifCapture* GetRecorder() const { return m_recorder; }

    CScreenImage& GetPicture() { return m_picture; }
    CTrayNotifyIcon& GetTrayIcon() { return m_trayIcon; }
    bool IsCapturing() const { return capturing; }

    // The balloon that tells why a key release captured nothing.
    static constexpr const wchar_t* kNothingToCaptureText =
        L"캡쳐영역이 비어 있어 캡쳐하지 않았습니다. 설정에서 캡쳐영역을 다시 지정하세요.";

    // Set while the web page capture or the GIF recorder runs, so that the menu opens each once.
    static inline bool webCaptureOpen = false;
    static inline bool gifRecorderOpen = false;

protected:
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

    int OnCreate(CREATESTRUCTW* create);
    void OnClose();
    void OnDestroy();
    void OnRawInput(UINT code, HRAWINPUT handle);
    LRESULT OnTrayNotify(WPARAM wParam, LPARAM lParam);

    void OnAppAbout();
    void OnSettings();
    void OnWebCapture();
    void OnGifRecorder();
    void OnOpenSaveFolder();
    void OnHelp();
    void OnDonate();
    void OnAppExit();

    // The web page capture and the GIF recorder, run under their open-once guards (overridable, so
    // that tests can see the guards without opening the real dialogs).
    virtual void RunWebCaptureDialog();
    virtual void RunGifRecorderDialog();
    // The on-screen pickers of the areas chosen at capture time: true after the user chose, with
    // `rect` the choice in screen coordinates and the picture its pixels as the key press found
    // them (an empty `rect` when nothing was chosen); false when the user cancelled.
    virtual bool RunAreaPicker(int area, RECT& rect);
    // The editor run on the picture before saving; false drops the capture.
    virtual bool RunEditor(const RECT& rect);

private:
    // Learns, across a nested message loop, whether the frame was destroyed meanwhile: the
    // frame's destructor marks every watch that is alive, and the watch lives on the stack.
    class Watch {
    public:
        explicit Watch(CMainFrame& frame);
        ~Watch();
        Watch(const Watch&) = delete;
        Watch& operator=(const Watch&) = delete;
        bool FrameGone() const { return m_gone; }

    private:
        friend class CMainFrame;
        CMainFrame& m_frame;
        Watch* m_outer;
        bool m_gone = false;
    };

    CaptureResult RunCapture(const Watch& watch);
    // Whether the program may end now; asks the recorder, which may save first.
    bool MayEnd();
    bool TakePickedArea(CScreenPickerDlg& picker, RECT& rect);
    void PlayShutter() const;
    void TellNothingToCapture();

    const CaptureSettings& m_settings;
    std::function<std::wstring()> m_buildOutputPath;
    CDialog* m_settingsDialog;
    std::wstring m_recorderSettingsFile;
    CAnigifCapture* m_recorder = nullptr;

    CScreenImage m_picture;
    CTrayNotifyIcon m_trayIcon;
    HICON m_icon = nullptr;
    bool m_rawInputRegistered = false;
    // True from an accepted key release until its capture ends; key releases arriving through
    // the nested message loops of pickers, the editor or a message box start nothing.
    bool capturing = false;
    bool m_toldNothingToCapture = false;
    Watch* m_watches = nullptr;  // innermost first

public:
    ~CMainFrame() override;
};
