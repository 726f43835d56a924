// A small concrete list for the container tests: items carry one text payload, stored
// as a string8 after the item header.
#pragma once

#include "obl/core/formats/Oblstreamutils.h"
#include "obl/core/containers/oblcont.h"

#include <vector>

class TTextItem : public TOBLListItem {
    VENDARO_CLASS(TTextItem, TOBLListItem)
public:
    explicit TTextItem(TComponent* AOwner) : TOBLListItem(AOwner) {}
    ~TTextItem() override { ++Destroyed; }

    void Assign(TPersistent* Source) override
    {
        auto* source = dynamic_cast<TTextItem*>(Source);
        if (!source) {
            inherited::Assign(Source);
            return;
        }
        AssignStd(source);
        text_ = source->text_;
    }
    void FreeData() override
    {
        text_ = AnsiString();
        ++freed_;
    }
    bool GetEmpty() override { return text_.IsEmpty(); }
    // Payload: a string8 text when bit 3 says there is one.
    BYTE WriteFlag() override { return inherited::WriteFlag() | (text_.IsEmpty() ? 0 : OBLIF_DATA); }
    void WriteData(TStream* Stream) override
    {
        WriteStd(Stream);
        if (!text_.IsEmpty())
            stWriteString(Stream, text_);
    }
    void ReadData(TStream* Stream) override
    {
        text_ = AnsiString();
        if (ReadStd(Stream) & OBLIF_DATA)
            stReadString(Stream, text_);
    }

    const AnsiString& Text() const { return text_; }
    void SetText(const AnsiString& value) { text_ = value; }
    int Freed() const { return freed_; }

    static void Publish(TClassBuilder<TTextItem>& c)
    {
        c.Property("Text", &TTextItem::Text, &TTextItem::SetText);
        c.Property("Ident", &TTextItem::Ident, &TTextItem::SetIdent).Default(0);
    }

    static inline int Destroyed = 0;

private:
    AnsiString text_;
    int freed_ = 0;
};

class TTextList : public TOBLCustomContainer {
    VENDARO_CLASS(TTextList, TOBLCustomContainer)
public:
    explicit TTextList(TComponent* AOwner) : TOBLCustomContainer(AOwner)
    {
        SetItemClass(TTextItem::StaticClass());
        SetKind(icStringList);
    }
    void UseKind(TOBLListItemClassType kind) { SetKind(kind); }
    static void Publish(TClassBuilder<TTextList>& c)
    {
        c.Property("Source", &TTextList::Source, &TTextList::SetSource).Default(sdComponent);
    }
    TTextItem* Items(int index) { return static_cast<TTextItem*>(GetItem(index)); }
    // Appends items of these texts.
    void AddTexts(std::initializer_list<const char*> texts)
    {
        for (const char* text : texts)
            Items(Add(nullptr))->SetText(text);
    }
};

// Another list class, for assignments across classes.
class TOtherList : public TOBLCustomContainer {
    VENDARO_CLASS(TOtherList, TOBLCustomContainer)
public:
    explicit TOtherList(TComponent* AOwner) : TOBLCustomContainer(AOwner) { SetItemClass(TTextItem::StaticClass()); }
};

// Records who called, in order.
class TCallLog : public TObject {
    VENDARO_CLASS(TCallLog, TObject)
public:
    TCallLog() = default;
    void First(TObject* sender) { calls.push_back({1, sender}); }
    void Second(TObject* sender) { calls.push_back({2, sender}); }
    void Third(TObject* sender) { calls.push_back({3, sender}); }
    int Count(int who) const
    {
        int n = 0;
        for (const Call& c : calls)
            n += c.who == who;
        return n;
    }
    struct Call {
        int who;
        TObject* sender;
        friend bool operator==(const Call&, const Call&) = default;
    };
    std::vector<Call> calls;
};
