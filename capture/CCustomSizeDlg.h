#pragma once
// "영역크기": the size of the fixed-region frame's hole, typed into two boxes, stepped with their
// arrows or picked from seven presets; each side lies in 45 ... 10000 pixels.
//
//   CCustomSizeDlg size;
//   if (size.DoModalWithSize(640, 360) == IDOK) Resize(size.m_width, size.m_height);
#include <windows.h>
#include "CDialog.h"

class CCustomSizeDlg : public CDialog {
public:
    static constexpr unsigned kMinSide = 45;
    static constexpr unsigned kMaxSide = 10000;

    struct Preset {
        int id;
        unsigned width;
        unsigned height;
    };
    // The radio buttons' sizes, in the order of their ids. The third is 1024 x 567 (sic), as its
    // caption says.
    static const Preset kPresets[7];

    explicit CCustomSizeDlg(CWnd* parent = nullptr);

    // Shows the size given, runs the dialog; IDOK or IDCANCEL. Afterwards the members hold the
    // values entered.
    INT_PTR DoModalWithSize(unsigned width, unsigned height);

    unsigned m_width = 0;
    unsigned m_height = 0;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) override;

private:
    void OnPreset(int id);
    // One arrow step of an up-down control: the up arrow (negative delta) adds one.
    void OnDeltaPos(int spinId, int delta);
    // The boxes into the members without complaint: what is not a number keeps the member.
    void ReadBoxesQuietly();
};
