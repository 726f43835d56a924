#include "platform/classlib/Graphics.h"

#include "tests/support/NotifyCounter.h"

#include <gtest/gtest.h>

#include <cstring>

TEST(Font, DefaultsAndSizeThroughPixelsPerInch)
{
    TOwned<TFont> font(new TFont);
    EXPECT_EQ(font->Name(), "MS Sans Serif");
    EXPECT_EQ(font->Color(), clWindowText);
    EXPECT_EQ(font->Charset(), DEFAULT_CHARSET);
    EXPECT_TRUE(font->Style().Empty());
    font->SetPixelsPerInch(96);
    font->SetSize(8);
    EXPECT_EQ(font->Height(), -11);
    EXPECT_EQ(font->Size(), 8);
    font->SetPixelsPerInch(120);
    EXPECT_EQ(font->Size(), 7);
    font->SetSize(10);
    EXPECT_EQ(font->Height(), -17);
    font->SetHeight(13);   // a cell height gives a negative size, as the original computes
    EXPECT_EQ(font->Size(), -8);
}

TEST(Font, EveryChangeNotifiesOnce)
{
    TOwned<TFont> font(new TFont);
    NotifyCounter counter;
    font->SetOnChange(TNotifyEvent(&counter, &NotifyCounter::Changed));
    font->SetName("Arial");
    font->SetName("Arial");
    font->SetName("");   // an empty name is ignored
    font->SetColor(clRed);
    font->SetStyle({fsBold, fsItalic});
    font->SetHeight(-20);
    font->SetPitch(fpFixed);
    font->SetCharset(OEM_CHARSET);
    EXPECT_EQ(counter.count, 6);
    EXPECT_EQ(counter.lastSender, font.get());
    EXPECT_EQ(font->Name(), "Arial");
}

TEST(Font, HandleDescribesTheFontAndAdoptedHandleSetsTheDescription)
{
    TOwned<TFont> font(new TFont);
    font->SetName(GDI_TEST_FACE);
    font->SetHeight(-16);
    font->SetStyle({fsBold, fsUnderline});
    LOGFONTA lf{};
    ASSERT_EQ(GetObjectA(font->Handle(), sizeof(lf), &lf), static_cast<int>(sizeof(lf)));
    EXPECT_EQ(lf.lfHeight, -16);
    EXPECT_EQ(lf.lfWeight, FW_BOLD);
    EXPECT_EQ(lf.lfUnderline, 1);
    EXPECT_EQ(lf.lfItalic, 0);
    EXPECT_STREQ(lf.lfFaceName, GDI_TEST_FACE);

    LOGFONTA other{};
    other.lfHeight = -24;
    other.lfWeight = FW_NORMAL;
    other.lfItalic = 1;
    other.lfStrikeOut = 1;
    other.lfCharSet = SYMBOL_CHARSET;
    other.lfPitchAndFamily = FIXED_PITCH;
    std::strcpy(other.lfFaceName, "Arial");
    HFONT adopted = CreateFontIndirectA(&other);
    int live = GdiLiveObjectCount();
    font->SetHandle(adopted);
    EXPECT_EQ(GdiLiveObjectCount(), live - 1);   // the font's own object went
    EXPECT_EQ(font->Handle(), adopted);
    EXPECT_EQ(font->Name(), "Arial");
    EXPECT_EQ(font->Height(), -24);
    EXPECT_EQ(font->Style(), (TFontStyles{fsItalic, fsStrikeOut}));
    EXPECT_EQ(font->Charset(), SYMBOL_CHARSET);
    EXPECT_EQ(font->Pitch(), fpFixed);
    font->SetColor(clBlue);   // the colour is not part of the object
    EXPECT_EQ(font->Handle(), adopted);
    font->SetHeight(-30);
    EXPECT_NE(font->Handle(), adopted);
}

TEST(Font, AssignCopiesTheDescriptionKeepingThePointSize)
{
    TOwned<TFont> source(new TFont);
    source->SetPixelsPerInch(96);
    source->SetName("Arial");
    source->SetSize(12);
    source->SetColor(clGreen);
    source->SetStyle({fsStrikeOut});
    TOwned<TFont> target(new TFont);
    target->SetPixelsPerInch(144);
    NotifyCounter counter;
    target->SetOnChange(TNotifyEvent(&counter, &NotifyCounter::Changed));
    target->Assign(source.get());
    EXPECT_EQ(counter.count, 1);
    EXPECT_EQ(target->Name(), "Arial");
    EXPECT_EQ(target->Size(), 12);
    EXPECT_EQ(target->Height(), -24);
    EXPECT_EQ(target->Color(), clGreen);
    EXPECT_EQ(target->Style(), TFontStyles{fsStrikeOut});
    TOwned<TPen> pen(new TPen);
    EXPECT_THROW(target->Assign(pen.get()), EConvertError);
}

TEST(Font, PublishedPropertiesWithTheirDefaults)
{
    struct Case { const char* name; bool hasDefault; std::int64_t value; bool stored; };
    const Case cases[] = {
        {"Charset", true, DEFAULT_CHARSET, true}, {"Color", true, clWindowText, true},
        {"Height", false, 0, true}, {"Name", false, 0, true}, {"Pitch", true, 0, true},
        {"Size", false, 0, false}, {"Style", true, 0, true},
    };
    TOwned<TFont> font(new TFont);
    TPropList props = GetPropList(TFont::StaticClass());
    ASSERT_EQ(props.size(), std::size(cases));
    for (std::size_t i = 0; i < props.size(); ++i) {
        EXPECT_EQ(props[i]->Name, cases[i].name);
        EXPECT_EQ(props[i]->HasDefault, cases[i].hasDefault) << cases[i].name;
        if (cases[i].hasDefault) {
            EXPECT_EQ(props[i]->Default, cases[i].value) << cases[i].name;
        }
        EXPECT_EQ(IsStoredProp(font.get(), props[i]), cases[i].stored) << cases[i].name;
    }
    SetEnumProp(font.get(), "Pitch", "fpVariable");
    EXPECT_EQ(font->Pitch(), fpVariable);
}

TEST(Pen, HandleFollowsTheDescription)
{
    struct Case { TPenStyle style; UINT gdiStyle; };
    const Case cases[] = {
        {psSolid, PS_SOLID}, {psDash, PS_DASH}, {psDot, PS_DOT}, {psDashDot, PS_DASHDOT},
        {psDashDotDot, PS_DASHDOTDOT}, {psClear, PS_NULL}, {psInsideFrame, PS_INSIDEFRAME},
    };
    TOwned<TPen> pen(new TPen);
    EXPECT_EQ(pen->Color(), clBlack);
    EXPECT_EQ(pen->Width(), 1);
    EXPECT_EQ(pen->Mode(), pmCopy);
    pen->SetColor(clBtnShadow);
    pen->SetWidth(3);
    for (const Case& c : cases) {
        pen->SetStyle(c.style);
        LOGPEN lp{};
        ASSERT_EQ(GetObjectA(pen->Handle(), sizeof(lp), &lp), static_cast<int>(sizeof(lp)));
        EXPECT_EQ(lp.lopnStyle, c.gdiStyle);
        EXPECT_EQ(lp.lopnWidth.x, 3);
        EXPECT_EQ(lp.lopnColor, GetSysColor(COLOR_BTNSHADOW));
    }
}

TEST(Pen, ModesMapToRop2Codes)
{
    struct Case { TPenMode mode; int rop2; };
    const Case cases[] = {
        {pmBlack, R2_BLACK}, {pmWhite, R2_WHITE}, {pmNop, R2_NOP}, {pmNot, R2_NOT}, {pmCopy, R2_COPYPEN},
        {pmNotCopy, R2_NOTCOPYPEN}, {pmMergePenNot, R2_MERGEPENNOT}, {pmMaskPenNot, R2_MASKPENNOT},
        {pmMergeNotPen, R2_MERGENOTPEN}, {pmMaskNotPen, R2_MASKNOTPEN}, {pmMerge, R2_MERGEPEN},
        {pmNotMerge, R2_NOTMERGEPEN}, {pmMask, R2_MASKPEN}, {pmNotMask, R2_NOTMASKPEN}, {pmXor, R2_XORPEN},
        {pmNotXor, R2_NOTXORPEN},
    };
    for (const Case& c : cases)
        EXPECT_EQ(PenModeToRop2(c.mode), c.rop2);
}

TEST(Pen, AdoptedHandleAndAssign)
{
    TOwned<TPen> pen(new TPen);
    HPEN adopted = CreatePen(PS_DOT, 1, RGB(1, 2, 3));
    pen->SetHandle(adopted);
    EXPECT_EQ(pen->Style(), psDot);
    EXPECT_EQ(pen->Color(), static_cast<TColor>(RGB(1, 2, 3)));
    EXPECT_EQ(pen->Handle(), adopted);
    TOwned<TPen> copy(new TPen);
    pen->SetMode(pmXor);
    copy->Assign(pen.get());
    EXPECT_EQ(copy->Style(), psDot);
    EXPECT_EQ(copy->Mode(), pmXor);
    EXPECT_EQ(copy->Color(), pen->Color());
    EXPECT_NE(copy->Handle(), adopted);
}

TEST(Brush, HandleFollowsStyleAndColour)
{
    struct Case { TBrushStyle style; UINT gdiStyle; UINT_PTR hatch; };
    const Case cases[] = {
        {bsSolid, BS_SOLID, 0}, {bsClear, BS_HOLLOW, 0}, {bsHorizontal, BS_HATCHED, HS_HORIZONTAL},
        {bsVertical, BS_HATCHED, HS_VERTICAL}, {bsFDiagonal, BS_HATCHED, HS_FDIAGONAL},
        {bsBDiagonal, BS_HATCHED, HS_BDIAGONAL}, {bsCross, BS_HATCHED, HS_CROSS},
        {bsDiagCross, BS_HATCHED, HS_DIAGCROSS},
    };
    TOwned<TBrush> brush(new TBrush);
    EXPECT_EQ(brush->Color(), clWhite);
    brush->SetColor(clTeal);
    for (const Case& c : cases) {
        brush->SetStyle(c.style);
        LOGBRUSH lb{};
        ASSERT_EQ(GetObjectA(brush->Handle(), sizeof(lb), &lb), static_cast<int>(sizeof(lb)));
        EXPECT_EQ(lb.lbStyle, c.gdiStyle);
        if (c.style != bsClear) {
            EXPECT_EQ(lb.lbColor, static_cast<COLORREF>(clTeal));
            EXPECT_EQ(lb.lbHatch, c.hatch);
        }
        TOwned<TBrush> adopted(new TBrush);
        HBRUSH h = CreateBrushIndirect(&lb);
        adopted->SetHandle(h);
        EXPECT_EQ(adopted->Style(), c.style);
        EXPECT_EQ(adopted->Handle(), h);
    }
}

TEST(Brush, ColourMakesAClearBrushSolid)
{
    TOwned<TBrush> brush(new TBrush);
    NotifyCounter counter;
    brush->SetOnChange(TNotifyEvent(&counter, &NotifyCounter::Changed));
    brush->SetStyle(bsClear);
    brush->SetColor(clWhite);
    EXPECT_EQ(brush->Style(), bsSolid);
    EXPECT_EQ(counter.count, 2);
    brush->SetColor(clWhite);
    EXPECT_EQ(counter.count, 2);
}

TEST(GraphicsObject, ReplacedObjectsAreDeletedAndNoneLeak)
{
    int live = GdiLiveObjectCount();
    {
        TOwned<TPen> pen(new TPen);
        TOwned<TBrush> brush(new TBrush);
        TOwned<TFont> font(new TFont);
        pen->Handle();
        brush->Handle();
        font->Handle();
        EXPECT_EQ(GdiLiveObjectCount(), live + 3);
        pen->SetColor(clRed);
        brush->SetColor(clRed);
        font->SetHeight(-20);
        EXPECT_EQ(GdiLiveObjectCount(), live);
        pen->Handle();
    }
    EXPECT_EQ(GdiLiveObjectCount(), live);
}
