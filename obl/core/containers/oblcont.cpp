#include "obl/core/containers/oblcont.h"

#include <algorithm>

// ---------------------------------------------------------------------------------------
// TOBLChangeLink

TOBLChangeLink::~TOBLChangeLink()
{
    std::vector<TOBLBaseContainer*> containers = registrations_;
    for (TOBLBaseContainer* container : containers)
        container->UnRegisterChanges(this);
}

void TOBLChangeLink::Change() { onChange_(sender_); }

void TOBLChangeLink::Joined(TOBLBaseContainer* container)
{
    registrations_.push_back(container);
    sender_ = container;
}

void TOBLChangeLink::Left(TOBLBaseContainer* container)
{
    auto it = std::find(registrations_.begin(), registrations_.end(), container);
    if (it != registrations_.end())
        registrations_.erase(it);
    sender_ = registrations_.empty() ? nullptr : registrations_.back();
}

// ---------------------------------------------------------------------------------------
// TOBLBaseContainer

TOBLBaseContainer::TOBLBaseContainer(TComponent* AOwner) : TOBLCustomComponent(AOwner), links_(new TList)
{
    TComponentStyle style = ComponentStyle();
    style.Exclude(csInheritable);
    SetComponentStyle(style);
}

TOBLBaseContainer::~TOBLBaseContainer()
{
    while (links_->Count() > 0)
        UnRegisterChanges(Links(links_->Count() - 1));
    links_.reset();
}

void TOBLBaseContainer::RegisterChanges(TOBLChangeLink* Link)
{
    Link->Joined(this);
    links_->Add(Link);
}

void TOBLBaseContainer::UnRegisterChanges(TOBLChangeLink* Link)
{
    if (!links_)
        return;
    int index = links_->IndexOf(Link);
    if (index < 0)
        return;
    links_->Delete(index);
    Link->Left(this);
}

void TOBLBaseContainer::Change()
{
    // The links registered when the change starts are told, each while it is still
    // registered: a link may leave, or be freed, while another one is told.
    std::vector<TOBLChangeLink*> links;
    for (int i = 0; i < links_->Count(); ++i)
        links.push_back(Links(i));
    for (TOBLChangeLink* link : links)
        if (links_->IndexOf(link) >= 0)
            link->Change();
    inherited::Change();
}

// ---------------------------------------------------------------------------------------
// TOBLListItem

TOBLListItem::TOBLListItem(TComponent* AOwner) : TOBLCustomComponent(AOwner) {}

BYTE TOBLListItem::WriteFlag()
{
    BYTE flags = 0;
    if (compressed_)
        flags |= 0x01;
    if (!description_.IsEmpty())
        flags |= 0x02;
    if (ident_ != 0)
        flags |= 0x04;
    return flags;
}

void TOBLListItem::Change()
{
    inherited::Change();
    if (auto* container = dynamic_cast<TOBLCustomContainer*>(Owner()))
        container->Update(this);
}

void TOBLListItem::ReadState(TReader* Reader)
{
    inherited::ReadState(Reader);
    // An item read into a container that already lists it (a description read again
    // into the same components) keeps its one place.
    auto* container = dynamic_cast<TOBLCustomContainer*>(Reader->Parent());
    if (container && container->IndexOf(this) < 0)
        container->Add(this);
}

int TOBLListItem::GetIndex() const
{
    auto* container = dynamic_cast<TOBLCustomContainer*>(Owner());
    return container ? container->IndexOf(const_cast<TOBLListItem*>(this)) : -1;
}

void TOBLListItem::AssignStd(TOBLListItem* Source)
{
    compressed_ = Source->compressed_;
    description_ = Source->description_;
    ident_ = Source->ident_;
}

// ---------------------------------------------------------------------------------------
// TOBLCustomContainer

TOBLCustomContainer::TOBLCustomContainer(TComponent* AOwner) : TOBLBaseContainer(AOwner) {}

// The list only orders the items; they die with the component, after the links are gone.
TOBLCustomContainer::~TOBLCustomContainer() { items_.Clear(); }

TOBLListItem* TOBLCustomContainer::GetItem(int Index) { return static_cast<TOBLListItem*>(items_.Items(Index)); }

TOBLListItem* TOBLCustomContainer::GetItemByName(const AnsiString& Name)
{
    for (int i = 0; i < GetCount(); ++i)
        if (GetItem(i)->Description() == Name)
            return GetItem(i);
    return nullptr;
}

int TOBLCustomContainer::IndexOf(TOBLListItem* Item) const { return items_.IndexOf(Item); }

TOBLListItem* TOBLCustomContainer::CreateItem()
{
    if (!itemClass_ || !itemClass_->InheritsFrom(TOBLListItem::StaticClass()))
        throw EAbstractError(ClassName() + " has no item class");
    return static_cast<TOBLListItem*>(itemClass_->Create(this));
}

// An item owned elsewhere must still leave the list when it is freed.
void TOBLCustomContainer::Track(TOBLListItem* Item)
{
    if (Item->Owner() != this)
        Item->FreeNotification(this);
}

int TOBLCustomContainer::Add(TOBLListItem* Item)
{
    if (Item)
        Track(Item);
    else
        Item = CreateItem();
    int index = items_.Add(Item);
    Change();
    return index;
}

void TOBLCustomContainer::Insert(int Index, TOBLListItem* Item)
{
    // Checked first, so that a bad index creates no item.
    if (Index < 0 || Index > items_.Count())
        throw EListError(SListIndexError, {Index});
    if (Item)
        Track(Item);
    else
        Item = CreateItem();
    items_.Insert(Index, Item);
    Change();
}

void TOBLCustomContainer::AddList(TOBLCustomContainer* Source)
{
    int count = Source->GetCount();
    for (int i = 0; i < count; ++i) {
        TOBLListItem* item = CreateItem();
        items_.Add(item);
        item->Assign(Source->GetItem(i));
    }
    Change();
}

void TOBLCustomContainer::Delete(int Index)
{
    TOBLListItem* item = GetItem(Index);
    items_.Delete(Index);
    item->Free();
    Change();
}

void TOBLCustomContainer::Clear()
{
    while (items_.Count() > 0) {
        TOBLListItem* item = GetItem(0);
        items_.Delete(0);
        item->Free();
    }
    Change();
}

void TOBLCustomContainer::Move(int CurIndex, int NewIndex)
{
    if (CurIndex == NewIndex)
        return;
    items_.Move(CurIndex, NewIndex);
    Change();
}

void TOBLCustomContainer::Update(TOBLListItem* Item) { OnChange()(Item); }

void TOBLCustomContainer::Assign(TPersistent* Source)
{
    auto* source = dynamic_cast<TOBLCustomContainer*>(Source);
    if (!source || !source->InheritsFrom(ClassType())) {
        inherited::Assign(Source);
        return;
    }
    // Clearing first would lose the very items to be copied.
    if (source == this)
        return;
    BeginUpdate();
    try {
        Clear();
        defaultCompressed_ = source->defaultCompressed_;
        AddList(source);
    } catch (...) {
        EndUpdate(true);
        throw;
    }
    EndUpdate(true);
}

void TOBLCustomContainer::GetChildren(TGetChildProc Proc, TComponent* Root)
{
    for (int i = 0; i < items_.Count(); ++i)
        Proc(GetItem(i));
}

void TOBLCustomContainer::Notification(TComponent* AComponent, TOperation Operation)
{
    inherited::Notification(AComponent, Operation);
    if (Operation != opRemove)
        return;
    for (int index = items_.IndexOf(AComponent); index >= 0; index = items_.IndexOf(AComponent))
        items_.Delete(index);
}

void TOBLCustomContainer::SetSource(TOBLContainerSource Value)
{
    if (source_ == Value)
        return;
    if (!ComponentState().Contains(csLoading))
        for (int i = 0; i < items_.Count(); ++i)
            GetItem(i)->FreeData();
    source_ = Value;
    Change();
}

void TOBLCustomContainer::SetPrefix(TOBLPathPrefix Value)
{
    if (prefix_ == Value)
        return;
    prefix_ = Value;
    Change();
}

void TOBLCustomContainer::Publish(TClassBuilder<TOBLCustomContainer>& c)
{
    c.Property("About", &TOBLCustomContainer::About, &TOBLCustomContainer::SetAbout);
}
