// Lists of the stored kinds with content of their kind (strings, raw data, bitmaps, image
// strips), each with a compressed item: for the tests of damaged input and the seeds of the
// fuzz target of the container streams. The caller owns the list.
#pragma once

#include "obl/core/containers/oblcont.h"
#include "platform/classlib/Classes.h"
#include "platform/classlib/Graphics.h"

// A bitmap of w x h of one colour.
inline TBitmap* Solid(int w, int h, TColor color)
{
    auto* b = new TBitmap;
    b->SetPixelFormat(pf24bit);
    b->SetSize(w, h);
    b->Canvas()->Brush()->SetColor(color);
    b->Canvas()->FillRect(Rect(0, 0, w, h));
    return b;
}

inline TOBLCustomContainer* StringSample()
{
    auto* list = new TOBLStringList(nullptr);
    list->Items(list->Add(nullptr))->GetList()->SetText("one\r\ntwo\r\n");
    list->Items(list->Add(nullptr))->SetDescription("empty");
    TOBLStringListItem* packed = list->Items(list->Add(nullptr));
    packed->GetList()->SetText("packed lines\r\npacked lines\r\n");
    packed->SetCompressed(true);
    packed->SetIdent(9);
    return list;
}

inline TOBLCustomContainer* GenericSample()
{
    auto* list = new TOBLGenericList(nullptr);
    TStringStream raw("raw data bytes");
    list->Items(list->Add(nullptr))->LoadFromStream(&raw);
    TOBLGenericListItem* packed = list->Items(list->Add(nullptr));
    TStringStream more("compressed compressed compressed");
    packed->LoadFromStream(&more);
    packed->SetCompressed(true);
    list->Add(nullptr);
    return list;
}

inline TOBLCustomContainer* BitmapSample()
{
    auto* list = new TOBLBitmapList(nullptr);
    TOwned<TBitmap> red(Solid(3, 2, clRed));
    list->Items(list->Add(nullptr))->SetBitmap(red.get());
    TOBLBitmapListItem* mono = list->Items(list->Add(nullptr));
    mono->SetBitmap(red.get());
    mono->SetPixelFormat(spfMono);
    mono->SetCompressed(true);
    list->Items(list->Add(nullptr))->SetPixelFormat(spf4bit);
    return list;
}

inline TOBLCustomContainer* ImageSample()
{
    auto* list = new TOBLImageList(nullptr);
    TOBLImageListItem* item = list->Items(list->Add(nullptr));
    item->SetWidth(2);
    item->SetHeight(2);
    TOwned<TBitmap> picture(Solid(4, 2, clBlue));
    item->Add(picture.get(), nullptr);
    item->SetMaskedState(true);
    item->SetPixelFormat(spf4bit);
    TOBLImageListItem* packed = list->Items(list->Add(nullptr));
    packed->SetWidth(3);
    packed->SetHeight(1);
    TOwned<TBitmap> row(Solid(3, 1, clLime));
    packed->Add(row.get(), nullptr);
    packed->SetCompressed(true);
    list->Add(nullptr);
    return list;
}
