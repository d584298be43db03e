#pragma once
// The program's private window messages, in one place so that no two share a number. They sit in
// the WM_APP range: numbers from WM_USER up belong to the window classes themselves (a dialog
// answers DM_SETDEFID at WM_USER + 1), and these are private to this process.
//
// Payloads: a message that carries a pointer to a heap object and is POSTED (across threads or to
// be handled later) hands the object over. The receiver frees it after handling the message; if
// PostMessage fails, nothing was handed over and the sender frees it. A SENT message only lends
// its payload for the duration of the call.
#include <windows.h>

// Monitor chooser -> settings dialog (sent): wParam the chosen const CMonitor* (null outside
// every monitor), lParam the chooser; both lent for the call.
constexpr UINT WM_MONITOR_SELECTED = WM_APP + 1;
// Save the main frame's picture now (sent by the web page capture); answers 0 on success.
constexpr UINT WM_SAVE_CAPTURE = WM_APP + 3;
// GIF recorder: the frame window's area changed, a frame was added, grab one frame now.
constexpr UINT WM_GIF_AREA_CHANGED = WM_APP + 4;
constexpr UINT WM_GIF_FRAME_ADDED = WM_APP + 5;
constexpr UINT WM_GIF_CAPTURE_FRAME = WM_APP + 6;
// GIF recorder: the recording stopped by itself (wParam the reason, CGifRecording::StopReason).
constexpr UINT WM_GIF_RECORDING_STOPPED = WM_APP + 7;
// Frame editor -> itself (posted once it shows): place the thumbnails again after the strip's
// first paint, at which some list views arrange their icons anew.
constexpr UINT WM_FRAMEEDIT_PLACE_THUMBNAILS = WM_APP + 8;
// The tray icon's callback message.
constexpr UINT WM_TRAY_NOTIFY = WM_APP + 100;
