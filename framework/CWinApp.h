#pragma once
// The application object: one per process, created as a global; the framework's wWinMain hands
// it the command line, runs InitInstance, the message loop and ExitInstance.
#include <windows.h>
#include <string>

class CWnd;

class CWinApp {
public:
    explicit CWinApp(const wchar_t* appName);
    virtual ~CWinApp();
    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    HINSTANCE m_hInstance = nullptr;
    std::wstring m_lpCmdLine;  // the command line without the program name
    int m_nCmdShow = SW_SHOWNORMAL;
    std::wstring m_appName;
    CWnd* m_pMainWnd = nullptr;

    // TRUE keeps the program running (with a main window); FALSE ends it at once.
    virtual BOOL InitInstance() { return TRUE; }
    // Clean-up; the result is the process's exit code.
    virtual int ExitInstance() { return m_exitCode; }
    // The message loop; returns once WM_QUIT arrives or when there is no main window.
    virtual int Run();

    // The exit code that ExitInstance reports (the WM_QUIT code after a normal run).
    void SetExitCode(int code) { m_exitCode = code; }
    int GetExitCode() const { return m_exitCode; }

    // One message through the filter chain and dispatch; FALSE after WM_QUIT.
    BOOL PumpMessage();

private:
    int m_exitCode = 0;
};

CWinApp* AfxGetApp();

// Offers a queued message to the objects of the windows from its target up to the top-level
// window (accelerators, dialog keys); TRUE means one of them handled it and it is not dispatched.
// The application's loop and every modal loop call this.
BOOL AfxPreTranslateMessage(MSG* msg);

// The body of the program's entry point: the framework's wWinMain calls this.
int AfxWinMain(HINSTANCE instance, const wchar_t* cmdLine, int cmdShow);
