#pragma once
// Knows whether the user is in the middle of something that waits for an answer: a picker, the
// capture editor and its tools, a box or dialog over the recorder, a save in progress. Each runs
// inside a nested message loop, where the program's global entries (the capture key, F5, the
// tray menu's commands, the web capture's Capture) keep arriving: they ask IsRunning() first and
// do nothing while it is true, so that nothing starts under a window that waits.
//
//   { CInteraction picking;  picker.DoModal(); }      // whoever runs the interaction
//   if (CInteraction::IsRunning()) return;             // every global entry
#include <windows.h>

class CInteraction {
public:
    // Marks an interaction as running for the object's life; scopes nest.
    CInteraction();
    ~CInteraction();
    CInteraction(const CInteraction&) = delete;
    CInteraction& operator=(const CInteraction&) = delete;

    // True while any scope lives. Interactions all run on the user-interface thread, and only
    // its global entries ask.
    static bool IsRunning() { return s_running > 0; }

private:
    static inline int s_running = 0;
};
