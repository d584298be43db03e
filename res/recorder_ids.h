// Resource ids of the GIF recorder.
#pragma once

// The recorder dialog and its controls.
#define IDD_ANIGIF_CAPTURE 156
#define IDC_GIF_CURSOR 1026
#define IDC_GIF_RECORD 1035
#define IDC_GIF_RESIZE 1043
#define IDC_GIF_WIDTH 1044
#define IDC_GIF_HEIGHT 1045
#define IDC_GIF_FPS 1047
#define IDC_GIF_QUALITY 1048
#define IDC_GIF_OVERLAY 1049
#define IDC_GIF_EDIT 1051
#define IDC_GIF_SMALLFILE 1052
