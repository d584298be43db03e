// Resource ids of the frame editor's small dialogs: the delay, the crop and the insert query.
#pragma once

#define IDD_SET_FRAME_TIME 214
#define IDC_FRAME_TIME 1123

#define IDD_CLIPPING 215

#define IDD_INSERT_IMAGE_QUERY 217
#define IDC_INSERT_TOP_LEFT 1132
#define IDC_INSERT_CENTRE 1133
#define IDC_INSERT_STRETCH 1134
#define IDC_INSERT_FIT_FRAMES 1135
