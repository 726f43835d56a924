// Actions: commands shared by several controls. A control linked to an action takes its
// caption, enabled state, hint, visibility and click handler, and follows later changes.
#pragma once

#include "platform/classlib/Controls.h"
#include "platform/classlib/ImgList.h"

#include <vector>

class TActionList;

class TBasicAction : public TComponent {
    VENDARO_CLASS(TBasicAction, TComponent)
public:
    explicit TBasicAction(TComponent* owner) : TComponent(owner) {}
    ~TBasicAction() override;

    // Runs OnExecute (after the list's OnExecute, which may handle it); true when handled.
    virtual bool Execute();
    // Runs OnUpdate; true when handled.
    virtual bool Update();
    TNotifyEvent OnExecute() const { return onExecute_; }
    void SetOnExecute(TNotifyEvent v);
    TNotifyEvent OnUpdate() const { return onUpdate_; }
    void SetOnUpdate(TNotifyEvent v) { onUpdate_ = v; }

    // The controls linked to the action.
    void RegisterClient(TControl* client);
    void UnRegisterClient(TControl* client);
    int ClientCount() const { return static_cast<int>(clients_.size()); }

protected:
    // Tells every client that a property changed.
    void Change();

private:
    std::vector<TControl*> clients_;
    TNotifyEvent onExecute_, onUpdate_;
};

class TContainedAction : public TBasicAction {
    VENDARO_CLASS(TContainedAction, TBasicAction)
public:
    explicit TContainedAction(TComponent* owner) : TBasicAction(owner) {}
    ~TContainedAction() override;

    TActionList* ActionList() const { return actionList_; }
    void SetActionList(TActionList* list);
    const AnsiString& Category() const { return category_; }
    void SetCategory(const AnsiString& v) { category_ = v; }
    int Index() const;
    bool Execute() override;
    bool Update() override;

    bool HasParent() const override { return actionList_ != nullptr; }
    TComponent* GetParentComponent() const override;
    void SetParentComponent(TComponent* parent) override;
    void ReadState(TReader* reader) override;

    static void Publish(TClassBuilder<TContainedAction>& c);

private:
    TActionList* actionList_ = nullptr;
    AnsiString category_;
};

class TCustomAction : public TContainedAction {
    VENDARO_CLASS(TCustomAction, TContainedAction)
public:
    explicit TCustomAction(TComponent* owner) : TContainedAction(owner) {}

    const AnsiString& Caption() const { return caption_; }
    void SetCaption(const AnsiString& v);
    bool Checked() const { return checked_; }
    void SetChecked(bool v);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool v);
    const AnsiString& Hint() const { return hint_; }
    void SetHint(const AnsiString& v);
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int v);
    WORD ShortCut() const { return shortCut_; }
    void SetShortCut(WORD v);
    bool Visible() const { return visible_; }
    void SetVisible(bool v);
    int HelpContext() const { return helpContext_; }
    void SetHelpContext(int v) { helpContext_ = v; }

    static void Publish(TClassBuilder<TCustomAction>& c);

private:
    AnsiString caption_, hint_;
    bool checked_ = false, enabled_ = true, visible_ = true;
    int imageIndex_ = -1;
    WORD shortCut_ = 0;
    int helpContext_ = 0;
};

class TAction : public TCustomAction {
    VENDARO_CLASS(TAction, TCustomAction)
public:
    explicit TAction(TComponent* owner) : TCustomAction(owner) {}
};

using TActionEvent = TEvent<TBasicAction*, bool&>;

class TActionList : public TComponent {
    VENDARO_CLASS(TActionList, TComponent)
public:
    explicit TActionList(TComponent* owner) : TComponent(owner) {}
    ~TActionList() override;

    int ActionCount() const { return static_cast<int>(actions_.size()); }
    TContainedAction* Actions(int index) const { return actions_.at(static_cast<std::size_t>(index)); }
    int IndexOf(const TContainedAction* action) const;
    TCustomImageList* Images() const { return images_; }
    void SetImages(TCustomImageList* v);
    // The list's own handlers see every action first; Handled stops the action's own.
    bool ExecuteAction(TBasicAction* action);
    bool UpdateAction(TBasicAction* action);
    TActionEvent OnExecute() const { return onExecute_; }
    void SetOnExecute(TActionEvent v) { onExecute_ = v; }
    TActionEvent OnUpdate() const { return onUpdate_; }
    void SetOnUpdate(TActionEvent v) { onUpdate_ = v; }

    void GetChildren(TGetChildProc proc, TComponent* root) override;
    void Notification(TComponent* component, TOperation operation) override;

    static void Publish(TClassBuilder<TActionList>& c);

private:
    friend class TContainedAction;
    std::vector<TContainedAction*> actions_;
    TCustomImageList* images_ = nullptr;
    TActionEvent onExecute_, onUpdate_;
};

void RegisterActionClasses();
