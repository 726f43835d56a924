#include "platform/classlib/Classes.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

class TColumn : public TCollectionItem {
    VENDARO_CLASS(TColumn, TCollectionItem)
public:
    explicit TColumn(TCollection* collection) : TCollectionItem(collection) {}
    int Width() const { return width_; }
    void SetWidth(int v)
    {
        width_ = v;
        Changed(false);
    }
    void Assign(TPersistent* source) override
    {
        if (auto* c = dynamic_cast<TColumn*>(source)) {
            width_ = c->width_;
            return;
        }
        TCollectionItem::Assign(source);
    }
    static void Publish(TClassBuilder<TColumn>& c) { c.Property("Width", &TColumn::Width, &TColumn::SetWidth).Default(0); }

protected:
    AnsiString GetDisplayName() override { return "Column " + IntToStr(width_); }

private:
    int width_ = 0;
};

class TColumns : public TCollection {
    VENDARO_CLASS(TColumns, TCollection)
public:
    TColumns() : TCollection(TColumn::StaticClass()) {}
    TColumn* Column(int i) const { return static_cast<TColumn*>(Items(i)); }
    std::vector<TCollectionItem*> updates;

protected:
    void Update(TCollectionItem* item) override { updates.push_back(item); }
};

// An item whose constructor sets up a field after the base constructor has put it in.
class TLabelled : public TCollectionItem {
    VENDARO_CLASS(TLabelled, TCollectionItem)
public:
    explicit TLabelled(TCollection* collection) : TCollectionItem(collection), label_("ready") {}
    const AnsiString& Label() const { return label_; }

private:
    AnsiString label_;
};

// Reads every item's label on each update.
class TLabels : public TCollection {
    VENDARO_CLASS(TLabels, TCollection)
public:
    TLabels() : TCollection(TLabelled::StaticClass()) {}
    std::vector<std::string> seen;

protected:
    void Update(TCollectionItem*) override
    {
        for (int i = 0; i < Count(); ++i)
            seen.push_back(static_cast<TLabelled*>(Items(i))->Label().c_str());
    }
};

class TGrid : public TPersistent {
    VENDARO_CLASS(TGrid, TPersistent)
public:
    TGrid() : columns_(new TOwnedCollection(this, TColumn::StaticClass())) {}
    ~TGrid() override { columns_->Free(); }
    TCollection* Columns() const { return columns_; }
    void SetColumns(TCollection* v) { columns_->Assign(v); }
    AnsiString GetNamePath() override { return "Grid1"; }
    static void Publish(TClassBuilder<TGrid>& c) { c.Property("Columns", &TGrid::Columns, &TGrid::SetColumns); }

private:
    TOwnedCollection* columns_;
};

} // namespace

TEST(TCollectionTest, AddInsertIndexAndUpdates)
{
    TColumns cols;
    auto* a = static_cast<TColumn*>(cols.Add());
    auto* b = static_cast<TColumn*>(cols.Add());
    EXPECT_EQ(cols.updates, (std::vector<TCollectionItem*>{nullptr, nullptr}));
    EXPECT_EQ(a->Collection(), &cols);
    EXPECT_EQ(b->Index(), 1);
    EXPECT_EQ(b->ID(), 1);

    auto* c = static_cast<TColumn*>(cols.Insert(0));
    EXPECT_EQ(cols.Column(0), c);
    EXPECT_EQ(cols.Column(1), a);

    cols.updates.clear();
    a->SetWidth(5);
    EXPECT_EQ(cols.updates, (std::vector<TCollectionItem*>{a}));

    cols.updates.clear();
    a->SetIndex(2);
    EXPECT_EQ(cols.Column(2), a);
    EXPECT_EQ(cols.updates, (std::vector<TCollectionItem*>{nullptr}));
    EXPECT_THROW(a->SetIndex(3), EListError);
    EXPECT_EQ(a->DisplayName(), "Column 5");
    EXPECT_EQ(cols.FindItemID(1), b);
    EXPECT_EQ(cols.FindItemID(9), nullptr);
}

TEST(TCollectionTest, AnUpdateForANewItemComesWhenTheItemIsWhole)
{
    TLabels labels;
    labels.Add();
    EXPECT_EQ(labels.seen, std::vector<std::string>{"ready"});
    labels.seen.clear();
    labels.Insert(0);
    EXPECT_EQ(labels.seen, (std::vector<std::string>{"ready", "ready", "ready", "ready"}));
}

TEST(TCollectionTest, DeleteClearAndFreeingAnItemRemoveIt)
{
    TColumns cols;
    for (int i = 0; i < 4; ++i)
        cols.Add();
    TCollectionItem* last = cols.Items(3);
    last->Free();
    EXPECT_EQ(cols.Count(), 3);
    cols.Delete(0);
    EXPECT_EQ(cols.Count(), 2);
    EXPECT_THROW(cols.Delete(2), EListError);

    cols.updates.clear();
    cols.Clear();
    EXPECT_EQ(cols.Count(), 0);
    EXPECT_EQ(cols.updates, (std::vector<TCollectionItem*>{nullptr}));

    TColumn* moved = static_cast<TColumn*>(cols.Add());
    TColumns other;
    moved->SetCollection(&other);
    EXPECT_EQ(cols.Count(), 0);
    EXPECT_EQ(other.Column(0), moved);
}

TEST(TCollectionTest, UpdatesAreHeldUntilEndUpdate)
{
    TColumns cols;
    cols.BeginUpdate();
    static_cast<TColumn*>(cols.Add())->SetWidth(3);
    cols.Add();
    EXPECT_TRUE(cols.updates.empty());
    cols.EndUpdate();
    EXPECT_EQ(cols.updates, (std::vector<TCollectionItem*>{nullptr}));
}

TEST(TCollectionTest, AssignCopiesItemsAndNamePathsFollowTheOwner)
{
    TColumns source;
    static_cast<TColumn*>(source.Add())->SetWidth(7);
    static_cast<TColumn*>(source.Add())->SetWidth(9);
    TGrid grid;
    grid.Columns()->Add();
    grid.SetColumns(&source);
    ASSERT_EQ(grid.Columns()->Count(), 2);
    EXPECT_EQ(static_cast<TColumn*>(grid.Columns()->Items(1))->Width(), 9);
    EXPECT_EQ(grid.Columns()->GetNamePath(), "Grid1.Columns");
    EXPECT_EQ(grid.Columns()->Items(1)->GetNamePath(), "Grid1.Columns[1]");
    EXPECT_EQ(source.GetNamePath(), "TColumns");

    TStringList wrong;
    EXPECT_THROW(source.Assign(&wrong), EConvertError);
}
