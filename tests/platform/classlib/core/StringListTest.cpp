#include "platform/classlib/Classes.h"

#include <gtest/gtest.h>

namespace {

std::vector<AnsiString> Lines(const TStrings& s)
{
    std::vector<AnsiString> out;
    for (int i = 0; i < s.Count(); ++i)
        out.push_back(s.Strings(i));
    return out;
}

class TChangeLog : public TObject {
    VENDARO_CLASS(TChangeLog, TObject)
public:
    TChangeLog() = default;
    void Changing(TObject*) { log += "<"; }
    void Changed(TObject*) { log += ">"; }
    void Watch(TStringList& list)
    {
        list.SetOnChanging(TNotifyEvent(this, &TChangeLog::Changing));
        list.SetOnChange(TNotifyEvent(this, &TChangeLog::Changed));
    }
    std::string log;
};

} // namespace

TEST(CollationTest, CaseAccentAndClassOrder)
{
    struct Case {
        const char* a;
        const char* b;
        int text;  // sign of AnsiCompareText
        int str;   // sign of AnsiCompareStr
    };
    const Case cases[] = {
        {"abc", "ABC", 0, -1},
        {"a", "b", -1, -1},
        {"B", "a", 1, 1},
        {"a", "\xE0", -1, -1},        // a before a-grave
        {"\xE0", "b", -1, -1},        // a-grave before b
        {"\xC0", "\xE0", 0, 1},       // A-grave and a-grave differ in case only
        {"_x", "1", -1, -1},          // symbols before digits
        {"9", "a", -1, -1},           // digits before letters
        {"ab", "abc", -1, -1},
        {"", "", 0, 0},
    };
    auto sign = [](int v) { return v < 0 ? -1 : v > 0 ? 1 : 0; };
    for (const Case& c : cases) {
        EXPECT_EQ(sign(AnsiCompareText(c.a, c.b)), c.text) << c.a << " / " << c.b;
        EXPECT_EQ(sign(AnsiCompareText(c.b, c.a)), -c.text) << c.a << " / " << c.b;
        EXPECT_EQ(sign(AnsiCompareStr(c.a, c.b)), c.str) << c.a << " / " << c.b;
    }
}

TEST(TStringListTest, BasicEditingAndObjects)
{
    TStringList list;
    TObject marker;
    list.Add("one");
    list.AddObject("two", &marker);
    list.Insert(0, "zero");
    EXPECT_EQ(Lines(list), (std::vector<AnsiString>{"zero", "one", "two"}));
    EXPECT_EQ(list.Objects(2), &marker);
    EXPECT_EQ(list.IndexOfObject(&marker), 2);
    EXPECT_EQ(list.IndexOf("ONE"), 1);
    EXPECT_EQ(list.IndexOf("three"), -1);
    list.SetStrings(1, "uno");
    list.Move(2, 0);
    EXPECT_EQ(Lines(list), (std::vector<AnsiString>{"two", "zero", "uno"}));
    EXPECT_EQ(list.Objects(0), &marker);
    list.Exchange(0, 2);
    list.Delete(1);
    EXPECT_EQ(Lines(list), (std::vector<AnsiString>{"uno", "two"}));
    EXPECT_THROW(list.Strings(2), EListError);
    EXPECT_THROW(list.Insert(3, "x"), EListError);
    EXPECT_THROW(list.Delete(-1), EListError);
    list.Clear();
    EXPECT_EQ(list.Count(), 0);
}

TEST(TStringListTest, NamesAndValues)
{
    TStringList list;
    list.SetText("Width=10\r\nheight=20\r\nplain\r\nEmpty=\r\n=anonymous\r\n");
    EXPECT_EQ(list.Names(0), "Width");
    EXPECT_EQ(list.Names(2), "");
    EXPECT_EQ(list.Values("WIDTH"), "10");
    EXPECT_EQ(list.Values("Height"), "20");
    EXPECT_EQ(list.Values("plain"), "");
    EXPECT_EQ(list.IndexOfName("empty"), 3);
    EXPECT_EQ(list.IndexOfName(""), 4);

    list.SetValues("height", "25");
    EXPECT_EQ(list.Strings(1), "height=25");
    list.SetValues("Depth", "5");
    EXPECT_EQ(list.Strings(list.Count() - 1), "Depth=5");
    list.SetValues("Width", "");
    EXPECT_EQ(list.IndexOfName("Width"), -1);
    EXPECT_EQ(list.Count(), 5);
}

TEST(TStringListTest, TextSplitsAtEveryLineBreakKind)
{
    struct Case {
        AnsiString text;
        std::vector<AnsiString> lines;
    };
    const Case cases[] = {
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\rb\nc", {"a", "b", "c"}},
        {"a\n\rb", {"a", "", "b"}},
        {"\r\n", {""}},
        {"", {}},
        {"a\r\n\r\n", {"a", ""}},
        {AnsiString("x\0y", 3), {AnsiString("x\0y", 3)}},
    };
    for (const Case& c : cases) {
        TStringList list;
        list.SetText(c.text);
        EXPECT_EQ(Lines(list), c.lines) << c.text.str();
    }
    TStringList list;
    EXPECT_EQ(list.Text(), "");
    list.Add("a");
    EXPECT_EQ(list.Text(), "a\r\n");
    list.Add("");
    EXPECT_EQ(list.Text(), "a\r\n\r\n");
    list.Add("b");
    EXPECT_EQ(list.Text(), "a\r\n\r\nb\r\n");
}

TEST(TStringListTest, CommaTextQuotesAndParses)
{
    struct Case {
        std::vector<AnsiString> lines;
        AnsiString text;
    };
    const Case roundTrips[] = {
        {{"a", "b c", "d,e", "say \"hi\""}, "a,\"b c\",\"d,e\",\"say \"\"hi\"\"\""},
        {{""}, "\"\""},
        {{}, ""},
        {{"x", "", "y"}, "x,,y"},
        {{"a", ""}, "a,"},
        {{"", ""}, ","},
        {{"a", "", ""}, "a,,"},
    };
    for (const Case& c : roundTrips) {
        TStringList list;
        for (const AnsiString& s : c.lines)
            list.Add(s);
        EXPECT_EQ(list.CommaText(), c.text);
        TStringList back;
        back.SetCommaText(c.text);
        EXPECT_EQ(Lines(back), c.lines) << c.text.str();
    }
    const Case parses[] = {
        {{"a", "b", "c"}, "  a b ,  c  "},
        {{"open end"}, "\"open end"},
        {{"a", "b"}, AnsiString("a,b\0,c", 6)},
        {{"a", ""}, "a , "},
    };
    for (const Case& c : parses) {
        TStringList list;
        list.SetCommaText(c.text);
        EXPECT_EQ(Lines(list), c.lines) << c.text.str();
    }
}

TEST(TStringListTest, SortedListsAndDuplicates)
{
    struct Case {
        TDuplicates duplicates;
        std::vector<AnsiString> lines;
    };
    const Case cases[] = {
        {dupIgnore, {"apple", "Banana", "cherry"}},
        {dupAccept, {"apple", "BANANA", "Banana", "cherry"}},  // a new equal string goes first
    };
    for (const Case& c : cases) {
        TStringList list;
        list.SetDuplicates(c.duplicates);
        list.SetSorted(true);
        list.Add("cherry");
        list.Add("Banana");
        list.Add("apple");
        int again = list.Add("BANANA");
        EXPECT_EQ(Lines(list), c.lines);
        EXPECT_EQ(list.Strings(again).Length(), 6);
    }
    TStringList strict;
    strict.SetDuplicates(dupError);
    strict.SetSorted(true);
    strict.Add("b");
    EXPECT_THROW(strict.Add("B"), EStringListError);
    EXPECT_THROW(strict.Insert(0, "a"), EStringListError);
    EXPECT_THROW(strict.SetStrings(0, "a"), EStringListError);
    strict.Add("a");
    EXPECT_THROW(strict.Move(0, 1), EStringListError);
    EXPECT_EQ(Lines(strict), (std::vector<AnsiString>{"a", "b"}));

    int index = -1;
    EXPECT_TRUE(strict.Find("A", index));
    EXPECT_EQ(index, 0);
    EXPECT_FALSE(strict.Find("ab", index));
    EXPECT_EQ(index, 1);
    EXPECT_EQ(strict.IndexOf("B"), 1);
}

TEST(TStringListTest, SortAndCustomSort)
{
    TStringList list;
    list.SetCommaText("pear,\xE8" "cole,Apple,ecole,banana,10,9,_x");
    list.Sort();
    EXPECT_EQ(Lines(list), (std::vector<AnsiString>{"_x", "10", "9", "Apple", "banana", "ecole", "\xE8" "cole", "pear"}));

    list.CustomSort([](TStringList* l, int a, int b) { return l->Strings(b).Length() - l->Strings(a).Length(); });
    EXPECT_EQ(list.Strings(0).Length(), 6);
    EXPECT_EQ(list.Strings(list.Count() - 1).Length(), 1);

    list.SetSorted(true);
    EXPECT_EQ(list.Strings(0), "_x");
}

TEST(TStringListTest, ChangeEventsAndUpdates)
{
    TStringList list;
    TChangeLog log;
    log.Watch(list);
    list.Add("a");
    EXPECT_EQ(log.log, "<>");
    log.log.clear();
    list.BeginUpdate();
    list.Add("b");
    list.Add("c");
    list.Delete(0);
    list.EndUpdate();
    EXPECT_EQ(log.log, "<>");
    log.log.clear();
    list.SetText("x\r\ny\r\n");
    EXPECT_EQ(log.log, "<>");
    log.log.clear();
    TStringList empty;
    empty.Clear();
    list.Assign(&empty);
    EXPECT_EQ(log.log, "<>");
    EXPECT_EQ(list.Count(), 0);
}

TEST(TStringListTest, AssignAndAddStrings)
{
    TStringList a, b;
    TObject marker;
    a.AddObject("x", &marker);
    a.Add("y");
    b.Add("old");
    b.Assign(&a);
    EXPECT_EQ(Lines(b), Lines(a));
    EXPECT_EQ(b.Objects(0), &marker);
    EXPECT_TRUE(b.Equals(&a));
    b.AddStrings(&a);
    EXPECT_EQ(b.Count(), 4);
    EXPECT_FALSE(b.Equals(&a));

    try {
        b.Assign(nullptr);
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "Cannot assign a nil to a TStringList");
    }
}

TEST(TStringListTest, StreamsWriteCrLfAndReadFromThePosition)
{
    TStringList list;
    list.Add("first");
    list.Add("caf\xE9");
    TMemoryStream stream;
    stream.WriteBuffer("HDR", 3);
    list.SaveToStream(&stream);
    EXPECT_EQ(stream.Size(), 3 + 7 + 6);

    stream.SetPosition(3);
    TStringList back;
    back.LoadFromStream(&stream);
    EXPECT_EQ(Lines(back), Lines(list));

    TStringStream mixed("a\rb\nc\r\n");
    TStringList split;
    split.LoadFromStream(&mixed);
    EXPECT_EQ(Lines(split), (std::vector<AnsiString>{"a", "b", "c"}));
}
