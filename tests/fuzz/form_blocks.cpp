// A form holding the library's published classes, with something stored in every binary
// block its description has (image-list items, bitmap-list items, the glyph, the face
// table, the form shape's region data and border bitmap), read back with one block or one
// integer value replaced. The first input byte picks what is replaced: with its top bit
// clear, binary block (byte mod count) gets the rest of the input as its bytes; with it
// set, integer value line (the low 6 bits and the second byte, mod count) gets the rest
// as its text, and with bit 6 set as well that line is kept and given again with the new
// text after it (a property given twice). A damaged form raises the reader's error; a
// form that reads writes a description that reads and writes the same again, and is
// then shown and painted.
#include "FuzzLibrary.h"
#include "FuzzParentPanel.h"
#include "FuzzPicture.h"
#include "FuzzTarget.h"

#include "obl/controls/buttons/OBLButton.h"
#include "obl/controls/edits/OBLBrowseEdit.h"
#include "obl/controls/edits/OBLEditAutoComplete.h"
#include "obl/controls/forms/OBLBack.h"
#include "obl/controls/forms/OBLBaseDialog.h"
#include "obl/controls/forms/OBLFormStyler.h"
#include "obl/controls/graphic/OBLCustomMMButton.h"
#include "obl/controls/graphic/OBLSpeedButton.h"
#include "obl/controls/panels/OBLButtonPanel.h"
#include "obl/controls/panels/OBLCustomScrollBox.h"
#include "obl/controls/shapes/OBLFormShape.h"
#include "obl/core/app/OBLIniCtrl.h"
#include "obl/core/app/OBLXPThemeManager.h"
#include "obl/core/containers/oblcont.h"
#include "obl/core/dialogs/OBLBrowseDlg.h"
#include "platform/rtl/Exceptions.h"
#include "platform/win/gdi/Gdi.h"
#include "platform/win/user/Input.h"
#include "tests/support/FormText.h"

#include <cctype>
#include <string>
#include <utility>
#include <vector>

namespace {

class TFuzzForm : public TForm {
    VENDARO_CLASS(TFuzzForm, TForm)
public:
    explicit TFuzzForm(TComponent* owner) : TForm(owner) {}
};

TBitmap* Picture(int width, int height, TColor colour) { return FuzzPicture(width, height, colour, clYellow); }

template <class T>
T* Placed(TForm* form, const char* name, int left, int top, int width, int height)
{
    auto* control = new T(form);
    control->SetName(name);
    control->SetParent(form);
    control->SetBounds(left, top, width, height);
    return control;
}

// The form: every stored kind filled, so that a block read wrongly shows.
TFuzzForm* MakeForm()
{
    auto* form = new TFuzzForm(nullptr);
    form->SetName("Form");
    form->SetBounds(0, 0, 160, 120);

    auto* strips = new TOBLImageList(form);
    strips->SetName("Strips");
    TOBLImageListItem* strip = strips->Items(strips->Add(nullptr));
    strip->SetWidth(6);
    strip->SetHeight(4);
    for (TColor colour : {clRed, clLime, clBlue}) {
        TOwned<TBitmap> picture(Picture(6, 4, colour));
        strip->Add(picture.get(), nullptr);
    }
    strip->SetMaskedState(true);
    strip->SetPixelFormat(spf4bit);

    auto* pictures = new TOBLBitmapList(form);
    pictures->SetName("Pictures");
    TOwned<TBitmap> picture(Picture(7, 5, clNavy));
    TOBLBitmapListItem* packed = pictures->Items(pictures->Add(nullptr));
    packed->SetBitmap(picture.get());
    packed->SetPixelFormat(spf4bit);
    packed->SetCompressed(true);
    TOBLBitmapListItem* mono = pictures->Items(pictures->Add(nullptr));
    mono->SetBitmap(picture.get());
    mono->SetPixelFormat(spfMono);

    auto* speed = Placed<TOBLSpeedButton>(form, "Speed", 2, 2, 24, 20);
    TOwned<TBitmap> glyph(Picture(10, 8, clTeal));
    speed->SetGlyph(glyph.get());

    auto* mm = Placed<TOBLCustomMMButton>(form, "MM", 30, 2, 24, 20);
    mm->SetButtonFaceImageList(strips);
    for (int i = 0; i < TOBLCustomMMButton::FaceCount; ++i)
        mm->SetButtonFaceIndex(static_cast<TOBLButtonState>(i), OBLFaceIndex(0, i % 3));
    mm->SetTransCol(strips);

    auto* button = Placed<TOBLButton>(form, "Button", 60, 2, 60, 22);
    button->SetCaption("&Go");
    button->SetImageList(strips);
    button->SetImageIndex(1);

    auto* panel = Placed<TFuzzParentPanel>(form, "Panel", 2, 30, 40, 30);
    panel->SetImageList(strips);
    panel->SetIndex(0, 2);
    Placed<TOBLButtonPanel>(form, "Buttons", 50, 30, 60, 24);
    Placed<TOBLBrowseEdit>(form, "Edit", 2, 70, 100, 21);
    (new TOBLBack(form))->SetName("Back");
    Placed<TOBLCustomScrollBox>(form, "Scroll", 110, 60, 40, 40);

    auto* texts = new TOBLStringList(form);
    texts->SetName("Texts");
    TOBLStringListItem* lines = texts->Items(texts->Add(nullptr));
    lines->GetList()->Add("one");
    lines->GetList()->Add("two");
    lines->SetCompressed(true);
    (new TOBLGenericList(form))->SetName("Raw");
    (new TOBLWaveList(form))->SetName("Sounds");
    (new TOBLGraphicList(form))->SetName("Graphics");
    (new TOBLImageListConnector(form))->SetName("Connector");
    (new TOBLContainerCtrl(form))->SetName("Containers");
    (new TOBLFormStyler(form))->SetName("Styler");
    (new TOBLBaseDialog(form))->SetName("Dialog");
    (new TOBLEditAutoComplete(form))->SetName("Completion");
    (new TOBLXPThemeManager(form))->SetName("Themes");
    (new TOBLIniCtrl(form))->SetName("Ini");
    (new TOBLBrowseDlg(form))->SetName("Browse");

    auto* shape = new TOBLFormShape(form);
    shape->SetName("Shape");
    TOBLRegionMask* mask = shape->Region()->Mask();
    HRGN stored = CreateEllipticRgn(0, 0, 30, 20);
    mask->GetRegionData(stored);
    DeleteObject(stored);
    TOwned<TBitmap> border(Picture(30, 20, clMaroon));
    mask->SetBorderBmp(TOBLRegionMask::bbBorder, border.get());
    shape->Region()->SetShape(rsBitmap);
    return form;
}

bool Registered()
{
    RegisterClasses({TFuzzForm::StaticClass(), TFuzzParentPanel::StaticClass(), TOBLImageList::StaticClass(),
                     TOBLBitmapList::StaticClass(), TOBLSpeedButton::StaticClass(),
                     TOBLCustomMMButton::StaticClass(), TOBLButton::StaticClass(), TOBLButtonPanel::StaticClass(),
                     TOBLBrowseEdit::StaticClass(), TOBLBack::StaticClass(), TOBLFormShape::StaticClass(),
                     TOBLCustomScrollBox::StaticClass(), TOBLStringList::StaticClass(), TOBLGenericList::StaticClass(),
                     TOBLWaveList::StaticClass(), TOBLGraphicList::StaticClass(),
                     TOBLImageListConnector::StaticClass(), TOBLContainerCtrl::StaticClass(),
                     TOBLFormStyler::StaticClass(), TOBLBaseDialog::StaticClass(),
                     TOBLEditAutoComplete::StaticClass(), TOBLXPThemeManager::StaticClass(),
                     TOBLIniCtrl::StaticClass(), TOBLBrowseDlg::StaticClass()});
    return true;
}

void Started()
{
    static const bool started = (FuzzStartLibrary("forms"), Registered());
    (void)started;
}

// The form's description, made once.
const std::string& Described()
{
    static const std::string text = [] {
        TOwned<TFuzzForm> form(MakeForm());
        return WriteFormText(form.get());
    }();
    return text;
}

// Where the binary blocks' digits lie: from after "{" to the "}".
std::vector<std::pair<std::size_t, std::size_t>> Blocks(const std::string& text)
{
    std::vector<std::pair<std::size_t, std::size_t>> blocks;
    for (std::size_t at = text.find(" = {"); at != std::string::npos; at = text.find(" = {", at + 1)) {
        const std::size_t end = text.find('}', at);
        FUZZ_CHECK(end != std::string::npos);
        blocks.emplace_back(at + 4, end);
    }
    return blocks;
}

// Where the integer values lie: a line "Name = <digits>", from the value to the line's end.
std::vector<std::pair<std::size_t, std::size_t>> Integers(const std::string& text)
{
    std::vector<std::pair<std::size_t, std::size_t>> values;
    for (std::size_t at = text.find(" = "); at != std::string::npos; at = text.find(" = ", at + 1)) {
        const std::size_t from = at + 3, end = text.find_first_of("\r\n", from);
        if (end == std::string::npos || end == from)
            continue;
        bool number = true;
        for (std::size_t i = from; i < end; ++i)
            number = number && (std::isdigit(static_cast<unsigned char>(text[i])) || (i == from && text[i] == '-'));
        if (number)
            values.emplace_back(from, end);
    }
    return values;
}

constexpr std::uint8_t kValue = 0x80;
constexpr std::uint8_t kTwice = 0x40;

std::string Changed(const std::uint8_t* data, std::size_t size)
{
    std::string text = Described();
    if (!(data[0] & kValue)) {
        const auto blocks = Blocks(text);
        const auto [from, end] = blocks[data[0] % blocks.size()];
        return text.replace(from, end - from, FuzzHex(data + 1, size - 1));
    }
    if (size < 2)
        return text;
    const std::string rest(reinterpret_cast<const char*>(data) + 2, size - 2);
    const auto values = Integers(text);
    const auto [from, end] = values[((data[0] & 0x3Fu) << 8 | data[1]) % values.size()];
    if (!(data[0] & kTwice))
        return text.replace(from, end - from, rest);
    const std::size_t line = text.rfind('\n', from) + 1;
    return text.insert(end, "\n" + text.substr(line, from - line) + rest);
}

// What showing the form takes of what was read: its shape, and its controls painted.
void Use(TComponent* root)
{
    auto* form = static_cast<TFuzzForm*>(root);
    form->Show();
    UserPumpMessages();
    form->Hide();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Started();
    if (size == 0)
        return 0;
    const std::string text = Changed(data, size);
    TOwned<TComponent> read;
    try {
        read.reset(ReadFormText(text));
    } catch (const EReadError&) {
        return 0;
    }
    const std::string written = WriteFormText(read.get());
    TOwned<TComponent> again(ReadFormText(written));
    FUZZ_CHECK(WriteFormText(again.get()) == written);
    Use(read.get());
    return 0;
}

std::vector<std::string> FuzzSeeds()
{
    Started();
    const std::string& text = Described();
    std::vector<std::string> seeds;
    const auto blocks = Blocks(text);
    for (std::size_t i = 0; i < blocks.size(); ++i) {
        std::string bytes;
        std::string hex;
        for (std::size_t at = blocks[i].first; at < blocks[i].second; ++at)
            if (std::isxdigit(static_cast<unsigned char>(text[at])))
                hex += text[at];
        for (std::size_t at = 0; at + 1 < hex.size(); at += 2)
            bytes.push_back(static_cast<char>(std::stoi(hex.substr(at, 2), nullptr, 16)));
        seeds.push_back(std::string(1, static_cast<char>(i)) + bytes);
    }
    // Regressions: values a setter would drop (an image-strip item's width below 1, a
    // negative image index, a control's width of -2^31), and a property given twice.
    const auto values = Integers(text);
    auto value = [&](const std::string& name, const std::string& after, const std::string& to, bool twice) {
        const std::size_t from = text.find(after);
        FUZZ_CHECK(from != std::string::npos);
        for (std::size_t i = 0; i < values.size(); ++i)
            if (values[i].first > from && text.compare(values[i].first - name.size() - 3, name.size(), name) == 0) {
                const char selector[] = {static_cast<char>(kValue | (twice ? kTwice : 0) | (i >> 8)),
                                         static_cast<char>(i & 0xFF)};
                seeds.push_back(std::string(selector, 2) + to);
                return;
            }
        FUZZ_CHECK(!"no such value");
    };
    value("Width", "object TOBLImageListItem", "-5", false);
    value("ImageIndex", "object Panel:", "-7", false);
    value("Width", "object Button:", "-2147483648", false);
    value("Width", "object Button:", "75", true);
    return seeds;
}
