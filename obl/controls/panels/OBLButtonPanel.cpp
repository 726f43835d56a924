#include "obl/controls/panels/OBLButtonPanel.h"

#include "platform/win/user/User.h"

#include <algorithm>
#include <cstdint>

TOBLButtonPanel::TOBLButtonPanel(TComponent* AOwner) : TOBLCustomPanelFill(AOwner)
{
    SetControlStyle(ControlStyle() - TControlStyle{csAcceptsControls, csSetCaption, csReplicatable});
    buttons_.reset(new TOBLSpecialButtons(this, true));
}

void TOBLButtonPanel::SetBtnSize(int Index, int Value)
{
    if (!IsCoordinate(Value)) return;
    (Index == 0 ? buttonHeight_ : buttonWidth_) = Value;
    GetChange(nullptr);
}

void TOBLButtonPanel::SetBtnStyle(TOBLUserButtonStyle Value)
{
    if (Value == buttonStyle_) return;
    buttonStyle_ = Value;
    for (int i = 0; i < buttons_->Count(); ++i)
        if (TOBLSpeedButton* btn = buttons_->GetItem(i)->Btn()) InitBtnStyle(btn);
}

int TOBLButtonPanel::AddButton()
{
    const int index = buttons_->Add()->Index();
    SetBorders();
    return index;
}

void TOBLButtonPanel::GetChange(TObject* Sender)
{
    inherited::GetChange(Sender);
    SetBorders();
}

void TOBLButtonPanel::Loaded()
{
    inherited::Loaded();
    SetBorders();
}

void TOBLButtonPanel::WndProc(TMessage& Message)
{
    inherited::WndProc(Message);
    if (Message.Msg == WM_SIZE) SetBorders();
}

// ---- The grid -------------------------------------------------------------------------

namespace {

// Many rows of tall cells pass the int range: places and sizes stop at the coordinate
// space's end.
int Fit(std::int64_t v) { return static_cast<int>(std::clamp<std::int64_t>(v, MinCoordinate, MaxCoordinate)); }

} // namespace

TPoint TOBLButtonPanel::GridSize(int Columns, int Rows)
{
    const std::int64_t bevel = Bevel()->Mode() == bmWindows ? 0 : 2 * Bevel()->Ext();
    return Point(Fit(std::int64_t{Columns} * buttonWidth_ + bevel + Width() - ClientWidth()),
                 Fit(std::int64_t{Rows} * buttonHeight_ + bevel + Height() - ClientHeight()));
}

void TOBLButtonPanel::SetBorders()
{
    // The panel's own resize below sends WM_SIZE, which must not lay the grid out again
    // inside this layout.
    if (!buttons_ || placing_ || Loading() || ComponentState().Contains(csDestroying)) return;
    placing_ = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{placing_};
    TRect R = ClientRect();
    if (Bevel()->Mode() != bmWindows) InflateRect(&R, -Bevel()->Ext(), -Bevel()->Ext());
    const int count = buttons_->Count();
    // Without a cell to put them in, the buttons take no room and the panel only its border.
    const bool cells = buttonWidth_ > 0 && buttonHeight_ > 0;
    const int columns = cells ? std::max(1, std::min(count, (R.right - R.left) / buttonWidth_)) : 0;
    const int rows = !cells ? 0 : count <= columns ? 1 : count / columns + (count % columns ? 1 : 0);
    const TPoint size = GridSize(columns, rows);
    SetBounds(Left(), Top(), size.x, size.y);
    for (int i = 0; i < count; ++i) {
        TOBLSpeedButton* btn = buttons_->GetItem(i)->Btn();
        if (!btn) break;
        if (cells)
            btn->SetBounds(Fit(R.left + std::int64_t{i % columns} * buttonWidth_),
                           Fit(R.top + std::int64_t{i / columns % rows} * buttonHeight_), buttonWidth_, buttonHeight_);
        else
            btn->SetBounds(R.left, R.top, 0, 0);
        // Buttons added after the style was chosen take it too.
        InitBtnStyle(btn);
        if (Assigned(onButtonClick_)) btn->SetOnClick(TNotifyEvent(this, &TOBLButtonPanel::DoBtnClick));
    }
}

void TOBLButtonPanel::DoBtnClick(TObject* Sender)
{
    auto* btn = dynamic_cast<TOBLSpeedButton*>(Sender);
    if (!btn) return;
    const int index = btn->Tag();
    // The panel's handler replaced the item's on the button: the item's event still comes
    // first.
    if (index >= 0 && index < buttons_->Count()) buttons_->GetItem(index)->DoClick();
    if (Assigned(onButtonClick_)) onButtonClick_(this, Sender, index);
}

void TOBLButtonPanel::Publish(TClassBuilder<TOBLButtonPanel>& c)
{
    using C = TOBLButtonPanel;
    // A grid of buttons shows neither a caption nor text of its own.
    c.Withdraw("Caption");
    c.Withdraw("Font");
    c.Withdraw("ParentFont");
    c.Withdraw("Hint");
    c.Withdraw("Cursor");
    c.Withdraw("Action");
    c.Property("About", &C::About, &C::SetAbout).Stored(false);
    c.Property("Bevel", &C::Bevel, &C::SetBevel);
    c.Property("Buttons", &C::Buttons, &C::SetButtons);
    c.Property("ButtonHeight", &C::ButtonHeight, [](C& o, int v) { o.SetBtnSize(0, v); })
        .Default(20)
        .ReadRange(MinCoordinate, MaxCoordinate);
    c.Property("ButtonWidth", &C::ButtonWidth, [](C& o, int v) { o.SetBtnSize(1, v); })
        .Default(20)
        .ReadRange(MinCoordinate, MaxCoordinate);
    c.Property("ButtonStyle", &C::ButtonStyle, &C::SetBtnStyle).Default(ubsAutoDetect);
    c.Property("FillObject", &C::FillObject, &C::SetFillObject);
    c.Property("Flat", &C::Flat, &C::SetFlat).Default(false);
    c.Property("ImageIndex", &C::ImageIndex, [](C& o, int v) { o.SetIndex(0, v); }).Default(0).ReadRange(0);
    c.Property("ImageList", &C::ImageList, &C::SetImageList).Stored(&C::IsImageListStored);
    c.Property("ListIndex", &C::ListIndex, [](C& o, int v) { o.SetIndex(1, v); }).Default(0).ReadRange(0);
    c.Property("Transparent", &C::Transparent, &C::SetTransparent).Default(false);
    c.Property("OnButtonClick", &C::OnButtonClick, &C::SetOnButtonClick);
    c.Property("OnMouseEnter", &C::OnMouseEnter, &C::SetOnMouseEnter);
    c.Property("OnMouseExit", &C::OnMouseExit, &C::SetOnMouseExit);
}
