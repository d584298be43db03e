#include "CCustomSizeDlg.h"
#include <commctrl.h>
#include <string>
#include <utility>
#include "DataExchange.h"
#include "MessageArgs.h"
#include "resource.h"

const CCustomSizeDlg::Preset CCustomSizeDlg::kPresets[7] = {
    {1089, 640, 360}, {1090, 800, 450}, {1091, 1024, 567}, {1092, 640, 480},
    {1093, 800, 600}, {1094, 1024, 768}, {1095, 1280, 720},
};

CCustomSizeDlg::CCustomSizeDlg(CWnd* parent) : CDialog(IDD_CUSTOM_SIZE, parent) {}

INT_PTR CCustomSizeDlg::DoModalWithSize(unsigned width, unsigned height) {
    m_width = width;
    m_height = height;
    return DoModal();
}

BOOL CCustomSizeDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    // The arrows step the boxes, not the controls' own positions; those only need room so that
    // no arrow ever stops at a limit. A reversed range keeps the up arrow's delta negative.
    for (int spin : {IDC_SIZE_WIDTH_SPIN, IDC_SIZE_HEIGHT_SPIN}) {
        ::SendDlgItemMessageW(m_hWnd, spin, UDM_SETRANGE32, 1000000, -1000000);
        ::SendDlgItemMessageW(m_hWnd, spin, UDM_SETPOS32, 0, 0);
    }
    return TRUE;
}

void CCustomSizeDlg::DoDataExchange(CDataExchange* dx) {
    DDX_Text(dx, IDC_SIZE_WIDTH, m_width);
    DDV_MinMaxUInt(dx, m_width, kMinSide, kMaxSide);
    DDX_Text(dx, IDC_SIZE_HEIGHT, m_height);
    DDV_MinMaxUInt(dx, m_height, kMinSide, kMaxSide);
}

BOOL CCustomSizeDlg::OnCommand(WPARAM wParam, LPARAM lParam) {
    const CommandArgs command = CommandArgsFrom(wParam, lParam);
    if (command.id >= IDC_SIZE_PRESET_FIRST && command.id <= IDC_SIZE_PRESET_LAST) {
        if (command.code == BN_CLICKED) OnPreset(static_cast<int>(command.id));
        return TRUE;
    }
    return CDialog::OnCommand(wParam, lParam);
}

void CCustomSizeDlg::OnPreset(int id) {
    // A click that leaves the button unselected (none does for an automatic radio button, but a
    // message may come from elsewhere) changes nothing.
    if (::IsDlgButtonChecked(m_hWnd, id) != BST_CHECKED) return;
    for (const Preset& preset : kPresets) {
        if (preset.id != id) continue;
        m_width = preset.width;
        m_height = preset.height;
        SetDlgItemText(IDC_SIZE_WIDTH, std::to_wstring(m_width));
        SetDlgItemText(IDC_SIZE_HEIGHT, std::to_wstring(m_height));
    }
}

BOOL CCustomSizeDlg::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) {
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header->code == UDN_DELTAPOS &&
        (header->idFrom == IDC_SIZE_WIDTH_SPIN || header->idFrom == IDC_SIZE_HEIGHT_SPIN)) {
        OnDeltaPos(static_cast<int>(header->idFrom), reinterpret_cast<const NMUPDOWN*>(lParam)->iDelta);
        *result = 0;  // let the control go on; its own position is not used
        return TRUE;
    }
    return CDialog::OnNotify(wParam, lParam, result);
}

void CCustomSizeDlg::OnDeltaPos(int spinId, int delta) {
    ReadBoxesQuietly();
    unsigned& value = spinId == IDC_SIZE_WIDTH_SPIN ? m_width : m_height;
    if (delta < 0) {
        if (value < kMaxSide) ++value;
    } else if (value > kMinSide) {
        --value;
    }
    SetDlgItemText(IDC_SIZE_WIDTH, std::to_wstring(m_width));
    SetDlgItemText(IDC_SIZE_HEIGHT, std::to_wstring(m_height));
}

void CCustomSizeDlg::ReadBoxesQuietly() {
    // An arrow click is no moment for a message box: a box that holds no number keeps the last
    // good value, and "확인" still checks everything.
    for (auto [id, member] : {std::pair<int, unsigned*>{IDC_SIZE_WIDTH, &m_width},
                              std::pair<int, unsigned*>{IDC_SIZE_HEIGHT, &m_height}}) {
        BOOL ok = FALSE;
        UINT value = ::GetDlgItemInt(m_hWnd, id, &ok, FALSE);
        if (ok) *member = value;
    }
}
