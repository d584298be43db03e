#include "CSetFrameTimeDlg.h"
#include "DataExchange.h"
#include "framedlg_ids.h"

CSetFrameTimeDlg::CSetFrameTimeDlg(CWnd* parent) : CDialogEx(IDD_SET_FRAME_TIME, parent) {}

BOOL CSetFrameTimeDlg::OnInitDialog() {
    // The filter is in place before the value is written, so the box never holds anything else.
    m_edit.SubclassDlgItem(IDC_FRAME_TIME, m_hWnd);
    return CDialogEx::OnInitDialog();
}

void CSetFrameTimeDlg::DoDataExchange(CDataExchange* dx) {
    DDX_Text(dx, IDC_FRAME_TIME, m_value);
    DDV_MinMaxDouble(dx, m_value, kMinSeconds, kMaxSeconds);
}
