#include "obl/core/draw/OBLButtonBase.h"

#include "platform/classlib/Forms.h"
#include "platform/win/kernel/Modules.h"
#include "platform/win/kernel/Resources.h"

void OBLGetGlyphKind(TBitmap* bitmap, TOBLGlyphKind kind)
{
    if (bitmap == nullptr) return;
    bitmap->SetHandle(LoadBitmapA(HInstance, MAKEINTRESOURCEA(OBLGlyphStripResource)));
    const int cell = static_cast<int>(kind) - 1;
    // The strip starts with gkEllipsis; gkCustom would read left of the strip, so it keeps
    // the first cell instead.
    if (cell > 0) {
        const TRect source = Rect(cell * OBLGlyphCellWidth, 0, (cell + 1) * OBLGlyphCellWidth, OBLGlyphCellHeight);
        bitmap->Canvas()->CopyRect(Rect(0, 0, OBLGlyphCellWidth, OBLGlyphCellHeight), bitmap->Canvas(), source);
    }
    bitmap->SetWidth(OBLGlyphCellWidth);
}

std::uint8_t OBLGetButtonBevel(TOBLUserButtonStyle style, TOBLButtonState)
{
    if (style == ubsAutoDetect) style = NewStyleControls ? ubsWin40 : ubsWin31;
    switch (style) {
    case ubsWin31: return 3;
    case ubsWin40:
    case ubsDelphi:
    case ubsDelphiFlat:
    case ubsNavigator:
    case ubsIntegrated: return 2;
    default: return 1;
    }
}
