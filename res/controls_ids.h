// Resource ids of the shared controls' skins.
#pragma once

// Nine-patch frame pictures (resource type "PNG"): the fixed-region frame and the recording frame.
#define IDB_FIXED_FRAME 171
#define IDB_RECORD_FRAME 211
// The recorder's Record/Stop skin: four 60 x 72 states side by side.
#define IDB_RECORD_BUTTON 218
