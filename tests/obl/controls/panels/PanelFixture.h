// Panels for the tests: probes that publish what the panels' descendants publish, and a
// shown form whose form shape fills it with a gradient, the background the transparent
// panels on it take.
#pragma once

#include "obl/controls/panels/OBLCustomBevelPanel.h"
#include "obl/controls/panels/OBLCustomParentPanel.h"
#include "tests/obl/controls/panels/GradientFormFixture.h"

template <class Base>
class TPanelProbe : public Base {
public:
    explicit TPanelProbe(TComponent* owner) : Base(owner) {}

    bool themed = false;
    int windowsMade = 0;

    using Base::RestoreBorderBack;
    using Base::RestoreBorderFront;

protected:
    bool ControlSupportsXP() override { return themed; }
    void CreateWnd() override
    {
        ++windowsMade;
        Base::CreateWnd();
    }
};

class TProbePanel : public TPanelProbe<TOBLCustomPanel> {
    VENDARO_CLASS(TProbePanel, TOBLCustomPanel)
public:
    explicit TProbePanel(TComponent* owner) : TPanelProbe(owner) {}
    static void Publish(TClassBuilder<TProbePanel>& c) { PublishControl(c); }
};

class TProbeBevelPanel : public TPanelProbe<TOBLCustomBevelPanel> {
    VENDARO_CLASS(TProbeBevelPanel, TOBLCustomBevelPanel)
public:
    explicit TProbeBevelPanel(TComponent* owner) : TPanelProbe(owner) {}
    static void Publish(TClassBuilder<TProbeBevelPanel>& c)
    {
        PublishControl(c);
        c.Property("Bevel", &TProbeBevelPanel::Bevel, &TProbeBevelPanel::SetBevel);
    }
};

class TProbeParentPanel : public TPanelProbe<TOBLCustomParentPanel> {
    VENDARO_CLASS(TProbeParentPanel, TOBLCustomParentPanel)
public:
    explicit TProbeParentPanel(TComponent* owner) : TPanelProbe(owner) {}
    static void Publish(TClassBuilder<TProbeParentPanel>& c)
    {
        PublishControl(c);
        c.Property("Bevel", &TProbeParentPanel::Bevel, &TProbeParentPanel::SetBevel);
    }
};

// The colour of a picture of the test list at a pixel: every pixel of its 16 x 16 tile
// differs, and picture 1 is picture 0 with red and green swapped.
inline TColor TileColor(int picture, int x, int y)
{
    const int a = 15 + (x % 16) * 15, b = 15 + (y % 16) * 15;
    return static_cast<TColor>(picture == 0 ? RGB(a, b, 40) : RGB(b, a, 40));
}

class PanelFixture : public GradientFormFixture {
protected:
    // An image list of two 16 x 16 pictures of TileColor.
    TOBLImageList* TileList()
    {
        auto* list = new TOBLImageList(form_);
        TOBLImageListItem* item = list->Items(list->Add(nullptr));
        item->SetWidth(16);
        item->SetHeight(16);
        for (int picture : {0, 1}) {
            TBitmap tile;
            tile.SetPixelFormat(pf24bit);
            tile.SetSize(16, 16);
            for (int y = 0; y < 16; ++y)
                for (int x = 0; x < 16; ++x) tile.Canvas()->SetPixels(x, y, TileColor(picture, x, y));
            item->Add(&tile, nullptr);
        }
        return list;
    }
};
