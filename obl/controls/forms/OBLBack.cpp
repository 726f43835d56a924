#include "obl/controls/forms/OBLBack.h"

#include "obl/core/app/Oblsysin.h"
#include "obl/core/app/oblclass.h"
#include "obl/core/draw/Oblutils.h"

namespace {

// Tiled; the picture's palette realized unless the application realizes palettes itself
// on a palette display.
WORD BackDrawFlags()
{
    const bool appRealizes = OBLApplication && OBLApplication->Options().Contains(aoAutoRealizePalette);
    return OBLBmpTile | (appRealizes && OBLSIColorDepth() <= 8 ? 0 : OBLBmpRealizePalette);
}

} // namespace

bool TOBLBack::PaintClientArea(HDC DC)
{
    if (PaintMode() != pcControl || IMLEmpty())
        return inherited::PaintClientArea(DC);
    TCanvas canvas;
    canvas.SetHandle(DC);
    ImageList()->ClipDraw(&canvas, FormClientRect(), BackDrawFlags(), 0, clNone, ListIndex(), ImageIndex());
    return true;
}

// The picture is the painting: no owner-draw event here.
void TOBLBack::Publish(TClassBuilder<TOBLBack>& c) { c.Withdraw("OnPaint"); }
