// Resource ids of the on-screen pickers.
#pragma once

// The region picker's pointer, a utility knife (hot spot at its blade tip, (0, 30)).
#define IDC_CUT_CURSOR 173
