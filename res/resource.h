// Resource ids shared by the resource script and the code.
#pragma once

#define IDR_MAINFRAME 128

#include "settings_ids.h"
#include "tray_ids.h"
#include "controls_ids.h"
#include "capture_ids.h"
#include "editor_ids.h"
#include "recorder_ids.h"
#include "overlay_ids.h"
#include "snap_ids.h"
#include "webcapture_ids.h"
#include "framedlg_ids.h"
#include "frameedit_ids.h"
