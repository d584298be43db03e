#pragma once
#define IDB_SKIN 171
#define IDD_SECOND 301
#define IDD_FIRST 300
// Control ids repeat freely between templates.
#define IDC_OTHER_BUTTON 1000
#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
