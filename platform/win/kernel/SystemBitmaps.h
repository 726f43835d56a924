// The system's own bitmaps, drawn when asked for, in the classic colours of the moment.
#pragma once

#include "platform/win/WinTypes.h"

// A new bitmap for a system bitmap number (OBM_CHECKBOXES), or 0 for any other number.
HBITMAP CreateSystemBitmap(WORD id);
