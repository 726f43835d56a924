// Actions, their lists and the links to the controls that use them.
#include "platform/classlib/ActnList.h"

#include <algorithm>

// ---------------------------------------------------------------------------------------
// TBasicAction

TBasicAction::~TBasicAction()
{
    // Clients forget the action before it goes.
    while (!clients_.empty())
        clients_.back()->SetAction(nullptr);
}

bool TBasicAction::Execute()
{
    if (!onExecute_.Assigned())
        return false;
    onExecute_(this);
    return true;
}

bool TBasicAction::Update()
{
    if (!onUpdate_.Assigned())
        return false;
    onUpdate_(this);
    return true;
}

void TBasicAction::SetOnExecute(TNotifyEvent v)
{
    if (v == onExecute_)
        return;
    onExecute_ = v;
    Change();
}

void TBasicAction::RegisterClient(TControl* client)
{
    if (std::find(clients_.begin(), clients_.end(), client) == clients_.end())
        clients_.push_back(client);
}

void TBasicAction::UnRegisterClient(TControl* client)
{
    clients_.erase(std::remove(clients_.begin(), clients_.end(), client), clients_.end());
}

void TBasicAction::Change()
{
    std::vector<TControl*> clients = clients_;
    for (TControl* c : clients)
        c->ActionChange(this, false);
}

// ---------------------------------------------------------------------------------------
// TContainedAction

TContainedAction::~TContainedAction()
{
    if (actionList_)
        SetActionList(nullptr);
}

void TContainedAction::SetActionList(TActionList* list)
{
    if (list == actionList_)
        return;
    if (actionList_) {
        auto& actions = actionList_->actions_;
        actions.erase(std::remove(actions.begin(), actions.end(), this), actions.end());
    }
    actionList_ = list;
    if (list)
        list->actions_.push_back(this);
}

int TContainedAction::Index() const { return actionList_ ? actionList_->IndexOf(this) : -1; }

bool TContainedAction::Execute()
{
    if (actionList_ && actionList_->ExecuteAction(this))
        return true;
    return TBasicAction::Execute();
}

bool TContainedAction::Update()
{
    if (actionList_ && actionList_->UpdateAction(this))
        return true;
    return TBasicAction::Update();
}

TComponent* TContainedAction::GetParentComponent() const { return actionList_; }

void TContainedAction::SetParentComponent(TComponent* parent)
{
    if (auto* list = dynamic_cast<TActionList*>(parent))
        SetActionList(list);
}

void TContainedAction::ReadState(TReader* reader)
{
    if (auto* list = dynamic_cast<TActionList*>(reader->Parent()))
        SetActionList(list);
    inherited::ReadState(reader);
}

void TContainedAction::Publish(TClassBuilder<TContainedAction>& c)
{
    c.Property("Category", &TContainedAction::Category, &TContainedAction::SetCategory);
}

// ---------------------------------------------------------------------------------------
// TCustomAction

void TCustomAction::SetCaption(const AnsiString& v)
{
    if (v == caption_)
        return;
    caption_ = v;
    Change();
}

void TCustomAction::SetChecked(bool v)
{
    if (v == checked_)
        return;
    checked_ = v;
    Change();
}

void TCustomAction::SetEnabled(bool v)
{
    if (v == enabled_)
        return;
    enabled_ = v;
    Change();
}

void TCustomAction::SetHint(const AnsiString& v)
{
    if (v == hint_)
        return;
    hint_ = v;
    Change();
}

void TCustomAction::SetImageIndex(int v)
{
    if (v == imageIndex_)
        return;
    imageIndex_ = v;
    Change();
}

void TCustomAction::SetShortCut(WORD v)
{
    if (v == shortCut_)
        return;
    shortCut_ = v;
    Change();
}

void TCustomAction::SetVisible(bool v)
{
    if (v == visible_)
        return;
    visible_ = v;
    Change();
}

void TCustomAction::Publish(TClassBuilder<TCustomAction>& c)
{
    c.Property("Caption", &TCustomAction::Caption, &TCustomAction::SetCaption);
    c.Property("Checked", &TCustomAction::Checked, &TCustomAction::SetChecked).Default(false);
    c.Property("Enabled", &TCustomAction::Enabled, &TCustomAction::SetEnabled).Default(true);
    c.Property("HelpContext", &TCustomAction::HelpContext, &TCustomAction::SetHelpContext).Default(0);
    c.Property("Hint", &TCustomAction::Hint, &TCustomAction::SetHint);
    c.Property("ImageIndex", &TCustomAction::ImageIndex, &TCustomAction::SetImageIndex).Default(-1);
    c.Property("ShortCut", &TCustomAction::ShortCut, &TCustomAction::SetShortCut).Default(0);
    c.Property("Visible", &TCustomAction::Visible, &TCustomAction::SetVisible).Default(true);
    c.Property("OnExecute", &TCustomAction::OnExecute, &TCustomAction::SetOnExecute);
    c.Property("OnUpdate", &TCustomAction::OnUpdate, &TCustomAction::SetOnUpdate);
}

// ---------------------------------------------------------------------------------------
// TActionList

TActionList::~TActionList()
{
    while (!actions_.empty())
        actions_.back()->SetActionList(nullptr);
}

int TActionList::IndexOf(const TContainedAction* action) const
{
    auto it = std::find(actions_.begin(), actions_.end(), action);
    return it == actions_.end() ? -1 : static_cast<int>(it - actions_.begin());
}

void TActionList::SetImages(TCustomImageList* v)
{
    images_ = v;
    if (v)
        v->FreeNotification(this);
}

bool TActionList::ExecuteAction(TBasicAction* action)
{
    bool handled = false;
    onExecute_(action, handled);
    return handled;
}

bool TActionList::UpdateAction(TBasicAction* action)
{
    bool handled = false;
    onUpdate_(action, handled);
    return handled;
}

void TActionList::GetChildren(TGetChildProc proc, TComponent* root)
{
    for (TContainedAction* a : actions_)
        if (a->Owner() == root)
            proc(a);
}

void TActionList::Notification(TComponent* component, TOperation operation)
{
    TComponent::Notification(component, operation);
    if (operation == opRemove && component == images_)
        images_ = nullptr;
}

void TActionList::Publish(TClassBuilder<TActionList>& c)
{
    c.Property("Images", &TActionList::Images, &TActionList::SetImages);
    c.Property("OnExecute", &TActionList::OnExecute, &TActionList::SetOnExecute);
    c.Property("OnUpdate", &TActionList::OnUpdate, &TActionList::SetOnUpdate);
}

void RegisterActionClasses() { RegisterClasses({TActionList::StaticClass(), TAction::StaticClass()}); }
