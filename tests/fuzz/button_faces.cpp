// What the buttons and the parent panel store of their pictures, read through a form
// description into a component that already holds settings of its own: the multimedia
// button's face table and see-through colour (the current binary forms and the older
// ones it still reads), the speed button's glyph, and the parent panel's link to a global
// image list with its indexes. The first input byte picks the property; the rest is its
// binary block, or, for the panel, its two indexes (four bytes each) and then the link's
// ident. A damaged value raises the reader's error and leaves the component as it was
// (a negative index is refused too);
// what reads is used as painting uses it and writes a description that reads and writes
// the same again.
#include "FuzzLibrary.h"
#include "FuzzParentPanel.h"
#include "FuzzPicture.h"
#include "FuzzTarget.h"

#include "obl/controls/graphic/OBLCustomMMButton.h"
#include "obl/controls/graphic/OBLSpeedButton.h"
#include "obl/core/containers/oblcont.h"
#include "platform/rtl/Exceptions.h"
#include "tests/support/FormText.h"

#include <cctype>
#include <functional>
#include <iterator>
#include <memory>

namespace {

enum TKind { kMM, kSpeed, kPanel };

struct TProperty {
    TKind kind;
    const char* name;
};

// The property each selector value feeds.
const TProperty kProperties[] = {
    {kMM, "ButtonFaceIndicesNew2"}, {kMM, "ButtonFaceTransColNew"}, {kMM, "ButtonFaceIndicesNew"},
    {kMM, "ButtonFaceIndices"},     {kMM, "ButtonFaceTransCol"},    {kSpeed, "Glyph.Data"},
    {kPanel, "Internal"},
};
constexpr std::size_t kPropertyCount = std::size(kProperties);
constexpr const char* kHeaders[] = {"object MM: TOBLCustomMMButton\n", "object Speed: TOBLSpeedButton\n",
                                    "object Panel: TFuzzParentPanel\n"};
constexpr int kFacePictures = 3;

TBitmap* Picture(int width, int height, TColor colour) { return FuzzPicture(width, height, colour, clWhite); }

// The library started, and the global image list with one entry of a few pictures.
void StartLibrary()
{
    FuzzStartLibrary("buttons");
    RegisterClasses({TOBLCustomMMButton::StaticClass(), TOBLSpeedButton::StaticClass(),
                     TFuzzParentPanel::StaticClass()});
    TOBLImageList* list = OBLContainer->ImageList();
    TOBLImageListItem* item = list->Items(list->Add(nullptr));
    item->SetWidth(6);
    item->SetHeight(4);
    for (int i = 0; i < kFacePictures; ++i) {
        TOwned<TBitmap> picture(Picture(6, 4, static_cast<TColor>(RGB(40 * i, 90, 200))));
        item->Add(picture.get(), nullptr);
    }
}

void Started()
{
    static const bool started = (StartLibrary(), true);
    (void)started;
}

// Components with settings of their own, so that a read that goes wrong halfway shows.
TComponent* MakeMM(bool filled)
{
    auto* b = new TOBLCustomMMButton(nullptr);
    b->SetName("MM");
    if (!filled)
        return b;
    b->SetButtonFaceImageList(OBLContainer->ImageList());
    for (int i = 0; i < TOBLCustomMMButton::FaceCount; ++i)
        b->SetButtonFaceIndex(static_cast<TOBLButtonState>(i), OBLFaceIndex(0, i % kFacePictures));
    b->SetTransCol(OBLContainer->ImageList());
    return b;
}

TComponent* MakeSpeed(bool filled)
{
    auto* b = new TOBLSpeedButton(nullptr);
    b->SetName("Speed");
    if (filled) {
        TOwned<TBitmap> glyph(Picture(10, 8, clNavy));
        b->SetGlyph(glyph.get());
    }
    return b;
}

TComponent* MakePanel(bool filled)
{
    auto* p = new TFuzzParentPanel(nullptr);
    p->SetName("Panel");
    p->SetBounds(0, 0, 24, 16);
    if (filled) {
        p->SetImageList(OBLContainer->ImageList());
        p->SetIndex(0, 1);
    }
    return p;
}

const std::function<TComponent*(bool)> kMakers[] = {MakeMM, MakeSpeed, MakePanel};

// The panel's two indexes and its link's ident, every character of it coded.
std::string PanelLines(const std::uint8_t* data, std::size_t size)
{
    if (size < 8)
        return {};
    std::string text = "  ImageIndex = " + std::to_string(FuzzIntAt(data)) + "\n  ListIndex = " +
                       std::to_string(FuzzIntAt(data + 4)) + "\n  Internal = ''";
    for (std::size_t i = 8; i < size; ++i)
        text += " + #" + std::to_string(data[i]);
    return text + "\n";
}

std::string Description(const TProperty& property, const std::uint8_t* data, std::size_t size)
{
    const std::string lines = property.kind == kPanel
                                  ? PanelLines(data, size)
                                  : "  " + std::string(property.name) + " = {" + FuzzHex(data, size) + "}\n";
    return kHeaders[property.kind] + lines + "end\n";
}

// What painting takes of the settings read: the faces drawn, the palettes, the cache.
void UseSettings(TComponent* component)
{
    if (auto* mm = dynamic_cast<TOBLCustomMMButton*>(component)) {
        for (int i = 0; i < TOBLCustomMMButton::FaceCount; ++i)
            mm->DrawnFace(static_cast<TOBLButtonState>(i));
        mm->GetPalette();
    } else if (auto* panel = dynamic_cast<TOBLCustomParentPanel*>(component)) {
        panel->GetPalette();
        panel->GetEmpty();
    } else if (auto* speed = dynamic_cast<TOBLSpeedButton*>(component)) {
        speed->GetPalette();
    }
}

// The digits of a binary block as the writer stored them.
std::string StoredBytes(const std::string& text, const std::string& name)
{
    const std::size_t at = text.find("  " + name + " = {");
    FUZZ_CHECK(at != std::string::npos);
    std::string hex;
    for (std::size_t i = text.find('{', at) + 1; text[i] != '}'; ++i)
        if (std::isxdigit(static_cast<unsigned char>(text[i])))
            hex += text[i];
    std::string bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes.push_back(static_cast<char>(std::stoi(hex.substr(i, 2), nullptr, 16)));
    return bytes;
}

std::string Ints(std::initializer_list<std::int32_t> values)
{
    std::string bytes;
    for (std::int32_t v : values)
        for (int i = 0; i < 4; ++i)
            bytes.push_back(static_cast<char>(static_cast<std::uint32_t>(v) >> (8 * i)));
    return bytes;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Started();
    if (size == 0)
        return 0;
    const TProperty& property = kProperties[data[0] % kPropertyCount];
    const std::string text = Description(property, data + 1, size - 1);

    TOwned<TComponent> component(kMakers[property.kind](true));
    const std::string before = WriteFormText(component.get());
    // A negative index is refused (the panel would ignore it); the index read before it
    // may have been taken by then.
    const bool negative = property.kind == kPanel && size >= 9 && (FuzzIntAt(data + 1) < 0 || FuzzIntAt(data + 5) < 0);
    try {
        ReadFormTextInto(component.get(), text);
        FUZZ_CHECK(!negative);
    } catch (const EReadError& e) {
        if (negative)
            FUZZ_CHECK(Pos("Invalid property value -", e.Message()) > 0);
        else
            FUZZ_CHECK(WriteFormText(component.get()) == before);
        return 0;
    } catch (const EInvalidGraphic&) {
        FUZZ_CHECK(WriteFormText(component.get()) == before);
        return 0;
    }
    UseSettings(component.get());
    const std::string written = WriteFormText(component.get());
    TOwned<TComponent> again(kMakers[property.kind](false));
    ReadFormTextInto(again.get(), written);
    FUZZ_CHECK(WriteFormText(again.get()) == written);
    return 0;
}

std::vector<std::string> FuzzSeeds()
{
    Started();
    std::vector<std::string> seeds;
    auto add = [&seeds](std::size_t selector, const std::string& bytes) {
        seeds.push_back(std::string(1, static_cast<char>(selector)) + bytes);
    };
    TOwned<TComponent> mm(MakeMM(true));
    const std::string faces = WriteFormText(mm.get());
    add(0, StoredBytes(faces, kProperties[0].name));
    add(1, StoredBytes(faces, kProperties[1].name));
    // The older forms: list indexes then image indexes, and list and image index in pairs.
    add(2, Ints({0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 2, 0, 1, 2, 0, 1}));
    add(3, Ints({0, 0, 0, 1, 0, 2, 0, 0, 0, 1, 0, 2, 0, 0, 0, 1}));
    add(4, Ints({0x00FF00}));

    TOwned<TComponent> speed(MakeSpeed(true));
    add(5, StoredBytes(WriteFormText(speed.get()), kProperties[5].name));
    TOwned<TComponent> mono(MakeSpeed(false));
    TOwned<TBitmap> glyph(Picture(16, 16, clBlack));
    glyph->SetPixelFormat(pf1bit);
    static_cast<TOBLSpeedButton*>(mono.get())->SetGlyph(glyph.get());
    add(5, StoredBytes(WriteFormText(mono.get()), kProperties[5].name));

    // The global image list's ident as the writer gives it, at valid and missing indexes.
    TOwned<TComponent> panel(MakePanel(true));
    const std::string linked = WriteFormText(panel.get());
    const std::size_t at = linked.find("Internal = '");
    FUZZ_CHECK(at != std::string::npos);
    const std::string ident = linked.substr(at + 12, linked.find('\'', at + 12) - at - 12);
    add(6, Ints({1, 0}) + ident);
    add(6, Ints({7, 3}) + ident);
    // Regression: a negative index, once dropped without a word.
    add(6, Ints({-7, 0}) + ident);
    return seeds;
}
