#include "platform/classlib/Classes.h"

#include <algorithm>

// ---------------------------------------------------------------------------------------
// TBits

inline constexpr const char* SBitsIndexError = "Bits index out of range";

bool TBits::Bits(int index) const
{
    if (index < 0 || index >= Size())
        throw EBitsError(SBitsIndexError);
    return bits_[static_cast<std::size_t>(index)];
}

void TBits::SetBits(int index, bool value)
{
    if (index < 0)
        throw EBitsError(SBitsIndexError);
    if (index >= Size())
        SetSize(index + 1);
    bits_[static_cast<std::size_t>(index)] = value;
}

void TBits::SetSize(int size)
{
    if (size < 0)
        throw EBitsError(SBitsIndexError);
    bits_.resize(static_cast<std::size_t>(size), false);
}

int TBits::OpenBit() const
{
    auto it = std::find(bits_.begin(), bits_.end(), false);
    return static_cast<int>(it - bits_.begin());
}

// ---------------------------------------------------------------------------------------
// TComponent

bool IsValidIdent(const AnsiString& ident)
{
    auto alpha = [](char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; };
    if (ident.IsEmpty() || !alpha(ident[1]))
        return false;
    for (int i = 2; i <= ident.Length(); ++i)
        if (!alpha(ident[i]) && !(ident[i] >= '0' && ident[i] <= '9'))
            return false;
    return true;
}

void TComponent::Publish(TClassBuilder<TComponent>& c)
{
    c.Property("Name", &TComponent::Name, &TComponent::SetName).Stored(false);
    c.Property("Tag", &TComponent::Tag, &TComponent::SetTag).Default(0);
}

TComponent::TComponent(TComponent* owner)
{
    if (owner)
        owner->InsertComponent(this);
}

void TComponent::BeforeDestruction()
{
    Destroying();
    SendFreeNotifications();
    if (owner_)
        owner_->RemoveComponent(this);
}

TComponent::~TComponent()
{
    // Nothing left to do for a component ended by delete or Free (BeforeDestruction ran);
    // one that was not on the heap, a local or a member, gets the protocol here.
    Destroying();
    SendFreeNotifications();
    DestroyComponents();
    if (owner_)
        owner_->RemoveComponent(this);
}

void TComponent::SendFreeNotifications()
{
    while (!freeNotifies_.empty()) {
        TComponent* other = freeNotifies_.back();
        freeNotifies_.pop_back();
        other->ForgetNotification(this);
        other->Notification(this, opRemove);
    }
}

void TComponent::Destroying()
{
    if (state_.Contains(csDestroying))
        return;
    state_.Include(csDestroying);
    for (TComponent* c : components_)
        c->Destroying();
}

void TComponent::DestroyComponents()
{
    while (!components_.empty()) {
        TComponent* child = components_.back();
        if (child->state_.Contains(csFreeNotification))
            RemoveComponent(child);
        else
            Detach(child);
        child->Free();
    }
}

TComponent* TComponent::Components(int index) const
{
    if (index < 0 || index >= ComponentCount())
        throw EListError(SListIndexError, {index});
    return components_[static_cast<std::size_t>(index)];
}

int TComponent::ComponentIndex() const
{
    if (!owner_)
        return -1;
    auto& list = owner_->components_;
    auto it = std::find(list.begin(), list.end(), this);
    return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void TComponent::SetComponentIndex(int index)
{
    int current = ComponentIndex();
    if (current < 0)
        return;
    auto& list = owner_->components_;
    index = std::clamp(index, 0, static_cast<int>(list.size()) - 1);
    if (index == current)
        return;
    list.erase(list.begin() + current);
    list.insert(list.begin() + index, this);
}

TComponent* TComponent::FindComponent(const AnsiString& name) const
{
    if (name.IsEmpty())
        return nullptr;
    for (TComponent* c : components_)
        if (SameText(c->name_, name))
            return c;
    return nullptr;
}

void TComponent::ValidateRename(TComponent* component, const AnsiString& curName, const AnsiString& newName)
{
    if (component && !SameText(curName, newName) && component->owner_ == this) {
        TComponent* taken = FindComponent(newName);
        if (taken && taken != component)
            throw EComponentError(SDuplicateName, {newName});
    }
}

void TComponent::SetName(const AnsiString& name)
{
    if (name_ == name)
        return;
    if (!name.IsEmpty() && !IsValidIdent(name))
        throw EComponentError(SInvalidName, {name});
    if (owner_)
        owner_->ValidateRename(this, name_, name);
    else
        ValidateRename(nullptr, name_, name);
    name_ = name;
}

void TComponent::Attach(TComponent* component)
{
    components_.push_back(component);
    component->owner_ = this;
}

void TComponent::Detach(TComponent* component)
{
    components_.erase(std::remove(components_.begin(), components_.end(), component), components_.end());
    component->owner_ = nullptr;
}

void TComponent::InsertComponent(TComponent* component)
{
    if (component->owner_)
        component->owner_->RemoveComponent(component);
    ValidateRename(component, AnsiString(), component->name_);
    Attach(component);
    if (state_.Contains(csDesigning))
        component->SetDesigning(true);
    Notification(component, opInsert);
}

void TComponent::RemoveComponent(TComponent* component)
{
    if (component->owner_ != this)
        return;
    Notification(component, opRemove);
    Detach(component);
}

void TComponent::Notification(TComponent* component, TOperation operation)
{
    if (operation == opRemove && component)
        RemoveFreeNotification(component);
    // Index-based: a component told of the change may change the list.
    for (std::size_t i = 0; i < components_.size(); ++i)
        components_[i]->Notification(component, operation);
}

void TComponent::FreeNotification(TComponent* component)
{
    if (!component || component == this)
        return;
    if (!owner_ || component->owner_ != owner_) {
        if (std::find(freeNotifies_.begin(), freeNotifies_.end(), component) == freeNotifies_.end()) {
            freeNotifies_.push_back(component);
            component->FreeNotification(this);
        }
    }
    state_.Include(csFreeNotification);
}

void TComponent::ForgetNotification(TComponent* component)
{
    freeNotifies_.erase(std::remove(freeNotifies_.begin(), freeNotifies_.end(), component), freeNotifies_.end());
}

void TComponent::RemoveFreeNotification(TComponent* component)
{
    ForgetNotification(component);
    component->ForgetNotification(this);
}

void TComponent::SetDesigning(bool value, bool setChildren)
{
    if (value)
        state_.Include(csDesigning);
    else
        state_.Exclude(csDesigning);
    if (setChildren)
        for (TComponent* c : components_)
            c->SetDesigning(value);
}

AnsiString TComponent::GetNamePath() { return name_; }

void TComponent::Loaded() { state_.Exclude(csLoading); }

// ---------------------------------------------------------------------------------------
// TCollectionItem

TCollectionItem::TCollectionItem(TCollection* collection) { SetCollection(collection); }

TCollectionItem::~TCollectionItem() { SetCollection(nullptr); }

void TCollectionItem::SetCollection(TCollection* collection)
{
    if (collection_ == collection)
        return;
    if (collection_)
        collection_->RemoveItem(this);
    if (collection)
        collection->InsertItem(this);
}

int TCollectionItem::Index() const { return collection_ ? collection_->items_.IndexOf(const_cast<TCollectionItem*>(this)) : -1; }

void TCollectionItem::SetIndex(int index)
{
    int current = Index();
    if (current >= 0 && current != index) {
        collection_->items_.Move(current, index);
        Changed(true);
    }
}

void TCollectionItem::SetDisplayName(const AnsiString&) { Changed(false); }

void TCollectionItem::Changed(bool allItems)
{
    if (collection_ && collection_->updateCount_ == 0)
        collection_->Update(allItems ? nullptr : this);
}

TPersistent* TCollectionItem::GetOwner() { return collection_; }

AnsiString TCollectionItem::GetNamePath()
{
    if (!collection_)
        return ClassName();
    return collection_->GetNamePath() + "[" + IntToStr(Index()) + "]";
}

// ---------------------------------------------------------------------------------------
// TCollection

TCollection::TCollection(TClass itemClass) : itemClass_(itemClass) {}

TCollection::~TCollection()
{
    updateCount_ = 1;
    Clear();
}

TCollectionItem* TCollection::Add()
{
    // The collection hears of the new item once the item is whole: the constructor of its
    // class may still be setting up what an Update looks at.
    BeginUpdate();
    TObject* made = nullptr;
    try {
        made = itemClass_->Create(this);
    } catch (...) {
        EndUpdate();
        throw;
    }
    auto* item = dynamic_cast<TCollectionItem*>(made);
    if (!item || item->collection_ != this) {
        FreeObject(made);
        EndUpdate();
        throw EInvalidOperation("Invalid collection item class " + itemClass_->ClassName());
    }
    EndUpdate();
    return item;
}

TCollectionItem* TCollection::Insert(int index)
{
    TCollectionItem* item = Add();
    try {
        item->SetIndex(index);
    } catch (...) {
        item->Free();
        throw;
    }
    return item;
}

void TCollection::Delete(int index) { Items(index)->Free(); }

void TCollection::Clear()
{
    if (items_.Count() == 0)
        return;
    BeginUpdate();
    while (items_.Count() > 0)
        static_cast<TCollectionItem*>(items_.Last())->Free();
    EndUpdate();
}

TCollectionItem* TCollection::FindItemID(int id) const
{
    for (int i = 0; i < Count(); ++i)
        if (Items(i)->ID() == id)
            return Items(i);
    return nullptr;
}

void TCollection::Assign(TPersistent* source)
{
    if (auto* other = dynamic_cast<TCollection*>(source)) {
        BeginUpdate();
        try {
            Clear();
            for (int i = 0; i < other->Count(); ++i)
                Add()->Assign(other->Items(i));
        } catch (...) {
            EndUpdate();
            throw;
        }
        EndUpdate();
        return;
    }
    TPersistent::Assign(source);
}

void TCollection::EndUpdate()
{
    --updateCount_;
    Changed();
}

void TCollection::Changed()
{
    if (updateCount_ == 0)
        Update(nullptr);
}

void TCollection::InsertItem(TCollectionItem* item)
{
    items_.Add(item);
    item->collection_ = this;
    item->id_ = nextId_++;
    Changed();
}

void TCollection::RemoveItem(TCollectionItem* item)
{
    items_.Remove(item);
    item->collection_ = nullptr;
    Changed();
}

AnsiString TCollection::GetNamePath()
{
    TPersistent* owner = GetOwner();
    if (!owner)
        return ClassName();
    AnsiString path = owner->GetNamePath();
    if (path.IsEmpty())
        return path;
    for (PPropInfo p : GetPropList(owner->ClassType()))
        if (p->Kind() == tkClass && p->GetObject && p->GetObject(owner) == this)
            return path + "." + p->Name;
    return path;
}
