// Resource ids of the frame editor: its dialog with the thumbnail strip and the preview, and the
// strip's context menu.
#pragma once

#define IDD_GIF_FRAME_EDIT 212
#define IDR_GIF_FRAME_MENU 213

#define IDC_FRAMEEDIT_LIST 1120        // the thumbnails, one per frame
#define IDC_FRAMEEDIT_PREVIEW_AREA 1121  // the preview is created in this placeholder's rectangle
#define IDC_FRAMEEDIT_PLAY 1122
#define IDC_FRAMEEDIT_COUNT 1124
#define IDC_FRAMEEDIT_DURATION 1125
#define IDC_FRAMEEDIT_FASTER 1126
#define IDC_FRAMEEDIT_SLOWER 1127
#define IDC_FRAMEEDIT_REVERSE 1128
#define IDC_FRAMEEDIT_CROP 1129
#define IDC_FRAMEEDIT_SIZE 1131
#define IDC_FRAMEEDIT_PREVIEW 10001

// The context menu's commands.
#define ID_FRAMEEDIT_DELETE 32781
#define ID_FRAMEEDIT_DELAY_NONE 32782
#define ID_FRAMEEDIT_DELAY_100MS 32783
#define ID_FRAMEEDIT_DELAY_200MS 32784
#define ID_FRAMEEDIT_DELAY_500MS 32785
#define ID_FRAMEEDIT_DELAY_1S 32786
#define ID_FRAMEEDIT_DELAY_2S 32787
#define ID_FRAMEEDIT_DELAY_5S 32788
#define ID_FRAMEEDIT_DELAY_10S 32789
#define ID_FRAMEEDIT_DELAY_OTHER 32790
#define ID_FRAMEEDIT_DUPLICATE 32791
#define ID_FRAMEEDIT_EDIT 32792
#define ID_FRAMEEDIT_INSERT 32794
