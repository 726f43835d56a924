// The lists of non-picture resources: string lists, raw data blocks and wave sounds.
#include "obl/core/containers/oblcont.h"
#include "obl/core/containers/oblcontShared.h"
#include "obl/core/app/Oblsysin.h"
#include "obl/core/formats/Oblstreamutils.h"
#include "obl/core/formats/oblwave.h"
#include "platform/rtl/FileNames.h"
#include "platform/rtl/Files.h"

using namespace oblcont_internal;

// ---------------------------------------------------------------------------------------
// TOBLStringListItem

TOBLStringListItem::TOBLStringListItem(TComponent* AOwner) : TOBLListItem(AOwner), list_(new TStringList) {}

TOBLStringListItem::~TOBLStringListItem() = default;

void TOBLStringListItem::Assign(TPersistent* Source)
{
    if (Source == this)
        return;
    if (auto* strings = dynamic_cast<TStrings*>(Source)) {
        list_->Assign(strings);
        return;
    }
    if (auto* source = dynamic_cast<TOBLStringListItem*>(Source)) {
        AssignStd(source);
        list_->Assign(source->list_.get());
        return;
    }
    inherited::Assign(Source);
}

BYTE TOBLStringListItem::WriteFlag() { return inherited::WriteFlag() | (list_->Count() > 0 ? OBLIF_DATA : 0); }

void TOBLStringListItem::WriteData(TStream* Stream)
{
    BYTE flags = WriteFlag();
    WriteStd(Stream);
    if (flags & OBLIF_DATA)
        stWriteStringList(Stream, list_.get(), Compressed());
}

void TOBLStringListItem::ReadData(TStream* Stream)
{
    if (ReadStd(Stream) & OBLIF_DATA)
        stReadStringList(Stream, list_.get(), Compressed());
    else
        list_->Clear();
}

void TOBLStringListItem::Publish(TClassBuilder<TOBLStringListItem>& c)
{
    c.Property("Items", &TOBLStringListItem::GetList, &TOBLStringListItem::SetList).Stored(false);
    c.Property("Description", &TOBLStringListItem::Description, &TOBLStringListItem::SetDescription);
    c.Property("Ident", &TOBLStringListItem::Ident, &TOBLStringListItem::SetIdent).Default(0);
}

// ---------------------------------------------------------------------------------------
// TOBLGenericListItem

TOBLGenericListItem::TOBLGenericListItem(TComponent* AOwner) : TOBLListItem(AOwner), data_(new TMemoryStream) {}

TOBLGenericListItem::~TOBLGenericListItem() = default;

void TOBLGenericListItem::Assign(TPersistent* Source)
{
    auto* source = dynamic_cast<TOBLGenericListItem*>(Source);
    if (!source) {
        inherited::Assign(Source);
        return;
    }
    if (source == this)
        return;
    AssignStd(source);
    fileName_ = source->fileName_;
    data_->LoadFromStream(source->data_.get());
}

void TOBLGenericListItem::FreeData()
{
    data_->Clear();
    fileName_ = AnsiString();
}

void TOBLGenericListItem::LoadFromFile(const AnsiString& FileName)
{
    if (FileName.IsEmpty() || !FileExists(FileName)) {
        FreeData();
        return;
    }
    data_->LoadFromFile(FileName);
    fileName_ = ExtractFileName(FileName);
}

void TOBLGenericListItem::SaveToFile(const AnsiString& FileName)
{
    TFileStream file(FileName, fmCreate);
    SaveToStream(&file);
}

void TOBLGenericListItem::LoadFromStream(TStream* Stream) { data_->LoadFromStream(Stream); }

void TOBLGenericListItem::SaveToStream(TStream* Stream)
{
    if (data_->Size() > 0)
        Stream->WriteBuffer(data_->Memory(), data_->Size());
}

void TOBLGenericListItem::SaveToTempFile(AnsiString& FileName)
{
    FileName = OBLSITempFile();
    if (!FileName.IsEmpty())
        SaveToFile(FileName);
}

BYTE TOBLGenericListItem::WriteFlag() { return inherited::WriteFlag() | (data_->Size() > 0 ? OBLIF_DATA : 0); }

void TOBLGenericListItem::WriteData(TStream* Stream)
{
    BYTE flags = WriteFlag();
    WriteStd(Stream);
    if (flags & OBLIF_DATA) {
        // The whole data, wherever its position was left.
        data_->SetPosition(0);
        if (Compressed()) {
            SaveCompressedStream(data_.get(), Stream, data_->Size());
        } else {
            stWriteInteger(Stream, data_->Size());
            Stream->WriteBuffer(data_->Memory(), data_->Size());
        }
        data_->SetPosition(0);
    }
    stWriteString(Stream, fileName_);
}

void TOBLGenericListItem::ReadData(TStream* Stream)
{
    BYTE flags = ReadStd(Stream);
    data_->Clear();
    if (flags & OBLIF_DATA) {
        if (Compressed()) {
            LoadCompressedStream(Stream, data_.get());
        } else {
            int size = stReadFieldSize(Stream);
            data_->SetSize(size);
            if (size > 0)
                Stream->ReadBuffer(data_->Memory(), size);
        }
        data_->SetPosition(0);
    }
    fileName_ = ReadString8(Stream);
}

// ---------------------------------------------------------------------------------------
// TOBLWaveListItem

TOBLWaveListItem::TOBLWaveListItem(TComponent* AOwner) : TOBLListItem(AOwner), wave_(new TOBLWave) {}

TOBLWaveListItem::~TOBLWaveListItem() = default;

void TOBLWaveListItem::SetWave(TOBLWave* Value) { wave_->Assign(Value); }

void TOBLWaveListItem::Assign(TPersistent* Source)
{
    auto* source = dynamic_cast<TOBLWaveListItem*>(Source);
    if (!source) {
        inherited::Assign(Source);
        return;
    }
    if (source == this)
        return;
    AssignStd(source);
    wave_->Assign(source->wave_.get());
}

bool TOBLWaveListItem::GetEmpty() { return wave_->GetEmpty(); }

void TOBLWaveListItem::FreeData() { wave_->FreeWave(); }

BYTE TOBLWaveListItem::WriteFlag() { return inherited::WriteFlag() | (wave_->GetEmpty() ? 0 : OBLIF_DATA); }

void TOBLWaveListItem::WriteData(TStream* Stream)
{
    BYTE flags = WriteFlag();
    WriteStd(Stream);
    if (flags & OBLIF_DATA)
        stWriteWave(Stream, wave_.get(), Compressed());
}

void TOBLWaveListItem::ReadData(TStream* Stream)
{
    wave_->FreeWave();
    if (ReadStd(Stream) & OBLIF_DATA) {
        ReadPayload([&] { stReadWave(Stream, wave_.get(), Compressed()); });
        // Only a sound is stored with the payload bit: bytes that are none are damage.
        if (wave_->GetEmpty())
            throw EReadError(SReadError);
    }
}

void TOBLWaveListItem::Publish(TClassBuilder<TOBLWaveListItem>& c)
{
    c.Property("Wave", &TOBLWaveListItem::Wave, &TOBLWaveListItem::SetWave).Stored(false);
    c.Property("Description", &TOBLWaveListItem::Description, &TOBLWaveListItem::SetDescription);
    c.Property("Ident", &TOBLWaveListItem::Ident, &TOBLWaveListItem::SetIdent).Default(0);
}

// ---------------------------------------------------------------------------------------
// The lists

TOBLStringList::TOBLStringList(TComponent* AOwner) : TOBLCustomContainer(AOwner)
{
    SetItemClass(TOBLStringListItem::StaticClass());
    SetKind(icStringList);
    static const bool registered = (RegisterClass(TOBLStringListItem::StaticClass()), true);
    (void)registered;
}

void TOBLStringList::Publish(TClassBuilder<TOBLStringList>& c)
{
    c.Property("DefaultCompressed", &TOBLStringList::DefaultCompressed, &TOBLStringList::SetDefaultCompressed)
        .Default(false);
}

TOBLGenericList::TOBLGenericList(TComponent* AOwner) : TOBLCustomContainer(AOwner)
{
    SetItemClass(TOBLGenericListItem::StaticClass());
    SetKind(icGeneric);
    static const bool registered = (RegisterClass(TOBLGenericListItem::StaticClass()), true);
    (void)registered;
}

void TOBLGenericList::Publish(TClassBuilder<TOBLGenericList>& c)
{
    c.Property("DefaultCompressed", &TOBLGenericList::DefaultCompressed, &TOBLGenericList::SetDefaultCompressed)
        .Default(false);
}

TOBLWaveList::TOBLWaveList(TComponent* AOwner) : TOBLCustomContainer(AOwner)
{
    SetItemClass(TOBLWaveListItem::StaticClass());
    SetKind(icWave);
    static const bool registered = (RegisterClass(TOBLWaveListItem::StaticClass()), true);
    (void)registered;
}

void TOBLWaveList::Publish(TClassBuilder<TOBLWaveList>& c)
{
    c.Property("DefaultCompressed", &TOBLWaveList::DefaultCompressed, &TOBLWaveList::SetDefaultCompressed)
        .Default(false);
}
