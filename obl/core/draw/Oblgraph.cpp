#include "obl/core/draw/Oblgraph.h"

int OBLConvertFocusStyle(TOBLGlyphTextFocusStyle style)
{
    switch (style) {
    case fcText: return static_cast<int>(TOBLDrawTextStyles{dtRectText}.Mask());
    case fcGlyph: return static_cast<int>(TOBLDrawTextStyles{dtRectGlyph}.Mask());
    case fcGlyphText: return static_cast<int>(TOBLDrawTextStyles{dtRectGlyphText}.Mask());
    default: return 0;
    }
}
