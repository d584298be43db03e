#include "CInsertImageQuery.h"
#include "MessageArgs.h"
#include "framedlg_ids.h"

CInsertImageQuery::CInsertImageQuery(CWnd* parent) : CDialog(IDD_INSERT_IMAGE_QUERY, parent) {}

BOOL CInsertImageQuery::OnCommand(WPARAM wParam, LPARAM lParam) {
    const CommandArgs command = CommandArgsFrom(wParam, lParam);
    if (command.id >= IDC_INSERT_TOP_LEFT && command.id <= IDC_INSERT_FIT_FRAMES &&
        command.code == BN_CLICKED) {
        m_mode = static_cast<int>(command.id) - IDC_INSERT_TOP_LEFT;
        EndDialog(IDOK);
        return TRUE;
    }
    return CDialog::OnCommand(wParam, lParam);
}
