// Resource ids of the overlay dialog of recordings and its two pages.
#pragma once

#define IDD_OVERLAY 103               // "로고 설정": preview on the left, pages on the right
#define IDD_OVERLAY_LOGO 168          // page "로고넣기"
#define IDD_OVERLAY_CAPTION 169       // page "글자넣기"

#define IDC_OVERLAY_TABS 1050
#define IDC_OVERLAY_PREVIEW 10001     // made at run time

// Logo page.
#define IDC_LOGO_ON 1051
#define IDC_LOGO_PATH 1052
#define IDC_LOGO_BROWSE 1053
#define IDC_LOGO_POS_FIRST 1054       // 1054-1062: the grid cells row by row
#define IDC_LOGO_MARGIN_X 1063
#define IDC_LOGO_MARGIN_Y 1064

// Caption page.
#define IDC_CAPTION_ON 1065
#define IDC_CAPTION_TEXT 1066
#define IDC_CAPTION_FONT_LABEL 1067
#define IDC_CAPTION_FONT 1068
#define IDC_CAPTION_COLOR 1069
#define IDC_CAPTION_OUTLINE_COLOR 1071
#define IDC_CAPTION_THICKNESS 1072
#define IDC_CAPTION_ALPHA 1075
#define IDC_CAPTION_POS_FIRST 1077    // 1077-1085: the grid cells row by row
#define IDC_CAPTION_MARGIN_X 1086
#define IDC_CAPTION_MARGIN_Y 1087
#define IDC_CAPTION_ANGLE 1088
