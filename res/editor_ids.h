// Resource ids of the capture editor: its pointers and keys, the pen toolbar and the text tool.
#pragma once

#define IDC_EDITOR_PEN_CURSOR 149     // a hand holding a pen, hot spot (1, 1)
#define IDC_EDITOR_DRAW_CURSOR 150    // a crayon, hot spot (6, 25), while the button is down
#define IDR_EDITOR_ACCEL 155

// The pen toolbar and its pictures.
#define IDD_PEN_TOOLBAR 175
#define IDB_PEN_SIZE_FIRST 176        // 176-181: six pen sizes
#define IDB_PEN_SWATCH_FIRST 182      // 182-197: sixteen colour swatches
#define IDB_PEN_TOOL_FIRST 198        // 198-203: six drawing tools
#define IDB_PEN_TOOLBAR 205           // background
#define IDB_PEN_REDO 206
#define IDB_PEN_TEXT 207
#define IDB_PEN_UNDO 208
#define IDB_PEN_FINISH 209

#define IDC_PEN_TOOL_FIRST 1054       // 1054-1059
#define IDC_PEN_SIZE_FIRST 1077       // 1077-1082
#define ID_EDITOR_TEXT_TOOL 1101
#define IDC_PEN_COLOR 1102
#define IDC_PEN_SWATCH_FIRST 1103     // 1103-1118
#define ID_EDITOR_FINISH 1119
#define ID_EDITOR_REDO 32774
#define ID_EDITOR_UNDO 32775

// The text tool.
#define IDD_TEXT_FORM 153
#define IDC_TEXT_DRAW 1033
#define IDC_TEXT_EDIT 1066
#define IDC_TEXT_FONT_LABEL 1067
#define IDC_TEXT_FONT 1068
#define IDC_TEXT_COLOR 1069
#define IDC_TEXT_OUTLINE_LABEL 1070
#define IDC_TEXT_OUTLINE_COLOR 1071
#define IDC_TEXT_THICKNESS 1072
#define IDC_TEXT_THICKNESS_LABEL 1073
#define IDC_TEXT_ALPHA_LABEL 1074
#define IDC_TEXT_ALPHA 1075
#define IDC_TEXT_ALPHA_NOTE 1076
#define IDC_TEXT_PREVIEW_FRAME 1121
