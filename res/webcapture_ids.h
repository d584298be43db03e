// Resource ids of the web page capture.
#pragma once

#define IDD_WEB_CAPTURE 132
// The browser view, created at run time in its place of the dialog.
#define IDC_WEB_BROWSER 1020
#define IDC_WEB_ADDRESS 1021
#define IDC_WEB_BACK 1022
#define IDC_WEB_FORWARD 1023
#define IDC_WEB_CAPTURE 1024
