#pragma once
// The application object: reads the command line, runs a command-line capture and ends, or
// starts the interactive program.
#include <string>
#include "CUniqueAny.h"
#include "CWinApp.h"
#include "CTovrixDlg.h"
#include "CommandLine.h"
#include "GdiplusSession.h"

class CTovrixApp : public CWinApp {
public:
    CTovrixApp();

    BOOL InitInstance() override;
    int ExitInstance() override;

    // The settings dialog, whose members are the live settings of the whole run.
    CTovrixDlg& GetSettingsDlg() { return m_settingsDlg; }

    // Exit codes of a command-line run that could not do what it was asked.
    static constexpr int kExitCannotWrite = 1;
    static constexpr int kExitBadArguments = 2;
    static constexpr int kExitNoImaging = 3;
    static constexpr const wchar_t* kImagingFailedText = L"Failed to start GDI+";
    static constexpr int kCommandLineQuality = 80;

protected:
    // Starts the imaging library (GDI+) for the whole run; false when it cannot start.
    virtual bool StartImaging();

private:
    // -c: grabs the rectangle into a JPEG file; returns the process's exit code.
    int RunCommandLineCapture(const CommandLineOptions& options);
    // -d: the editor over the rectangle, as an annotation surface; always exit code 0.
    int RunCommandLineEditor(const CommandLineOptions& options);
    // The program in the notification area: single instance, the settings, the hidden frame.
    BOOL StartInteractive();
    void ReleaseInstanceMutex();

    GdiplusSession m_gdiplus;
    CTovrixDlg m_settingsDlg;
    CUniqueHandle m_instanceMutex;  // held while the interactive program runs
    CUniqueModule m_richEdit;
    bool m_oleStarted = false;
};
