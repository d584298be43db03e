#pragma once
#define IDB_FRAME 171
#define IDD_FIRST 300
#define IDC_OK_BUTTON 1000
