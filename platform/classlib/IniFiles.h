// The class library's ini-file classes. TCustomIniFile is the common face of every
// section/ident/value store (ini files and the registry's ini-style classes): typed reads
// and writes built on its string operations. TIniFile is a thin class over the profile
// functions, so the file is read and written on every call and nothing is cached.
#pragma once

#include "platform/classlib/Classes.h"
#include "platform/rtl/Clock.h"
#include "platform/rtl/Exceptions.h"

inline constexpr const char* SIniFileWriteError = "Unable to write to %s";

VENDARO_EXCEPTION(EIniFileException, Exception);

class TCustomIniFile : public TObject {
    VENDARO_CLASS(TCustomIniFile, TObject)
public:
    explicit TCustomIniFile(const AnsiString& fileName) : fileName_(fileName) {}

    const AnsiString& FileName() const { return fileName_; }

    // A section exists when it holds at least one ident.
    virtual bool SectionExists(const AnsiString& section);
    bool ValueExists(const AnsiString& section, const AnsiString& ident);

    virtual AnsiString ReadString(const AnsiString& section, const AnsiString& ident, const AnsiString& defaultValue) = 0;
    virtual void WriteString(const AnsiString& section, const AnsiString& ident, const AnsiString& value) = 0;
    // Numbers in the run time's integer syntax ("0x" hexadecimal too); anything else, or a
    // missing value, gives the default.
    virtual int ReadInteger(const AnsiString& section, const AnsiString& ident, int defaultValue);
    virtual void WriteInteger(const AnsiString& section, const AnsiString& ident, int value);
    // Stored as "1" and "0"; read as an integer, non-zero meaning true.
    virtual bool ReadBool(const AnsiString& section, const AnsiString& ident, bool defaultValue);
    virtual void WriteBool(const AnsiString& section, const AnsiString& ident, bool value);
    // Text of the run time's conversions; a value that does not convert gives the default.
    virtual double ReadFloat(const AnsiString& section, const AnsiString& ident, double defaultValue);
    virtual void WriteFloat(const AnsiString& section, const AnsiString& ident, double value);
    virtual TDateTime ReadDate(const AnsiString& section, const AnsiString& ident, TDateTime defaultValue);
    virtual void WriteDate(const AnsiString& section, const AnsiString& ident, TDateTime value);
    virtual TDateTime ReadTime(const AnsiString& section, const AnsiString& ident, TDateTime defaultValue);
    virtual void WriteTime(const AnsiString& section, const AnsiString& ident, TDateTime value);
    virtual TDateTime ReadDateTime(const AnsiString& section, const AnsiString& ident, TDateTime defaultValue);
    virtual void WriteDateTime(const AnsiString& section, const AnsiString& ident, TDateTime value);

    // The idents of a section, the section names, and a section's lines as ident=value;
    // each clears the list first.
    virtual void ReadSection(const AnsiString& section, TStrings* strings) = 0;
    virtual void ReadSections(TStrings* strings) = 0;
    virtual void ReadSectionValues(const AnsiString& section, TStrings* strings);
    virtual void EraseSection(const AnsiString& section) = 0;
    virtual void DeleteKey(const AnsiString& section, const AnsiString& ident) = 0;
    virtual void UpdateFile() = 0;

private:
    AnsiString fileName_;
};

class TIniFile : public TCustomIniFile {
    VENDARO_CLASS(TIniFile, TCustomIniFile)
public:
    // A bare file name lies in the Windows folder.
    explicit TIniFile(const AnsiString& fileName) : TCustomIniFile(fileName) {}

    // Values hold any byte: one that a profile line cannot keep as it is (a line break or
    // NUL, blanks at an end, enclosing quotes, or a leading "%%") is stored as "%%" and the
    // text with "%", blanks and control bytes escaped as %XX, and read back exactly.

    AnsiString ReadString(const AnsiString& section, const AnsiString& ident, const AnsiString& defaultValue) override;
    // EIniFileException "Unable to write to <file>" when the file cannot be written or the
    // names would break its lines (a line break or NUL, "]" in a section, "=" in an ident).
    void WriteString(const AnsiString& section, const AnsiString& ident, const AnsiString& value) override;
    void ReadSection(const AnsiString& section, TStrings* strings) override;
    void ReadSections(TStrings* strings) override;
    void EraseSection(const AnsiString& section) override;
    void DeleteKey(const AnsiString& section, const AnsiString& ident) override;
    // Nothing is cached, so there is nothing to flush.
    void UpdateFile() override;

private:
    [[noreturn]] void WriteError() const;
};
