// Writing a text file as the run time's text-file routines do: assign a name, open it anew
// (Rewrite) or at its end (Append), write lines ended by CR LF, close. Opening reports
// failure by its result and IOResult, without raising, so a caller can give up quietly;
// a failed write or flush raises EInOutError.
#pragma once

#include "platform/rtl/AnsiString.h"

#include <string>

class TTextFile {
public:
    TTextFile() = default;
    explicit TTextFile(const AnsiString& fileName) : fileName_(fileName) {}
    // Writes what is buffered and closes, without raising.
    ~TTextFile();
    TTextFile(const TTextFile&) = delete;
    TTextFile& operator=(const TTextFile&) = delete;

    // Names the file; one still open is closed first (as by the destructor), and so is
    // one open when Rewrite or Append opens the file again.
    void Assign(const AnsiString& fileName);
    const AnsiString& FileName() const { return fileName_; }

    // Creates the file empty (replacing an existing one). False on failure.
    bool Rewrite();
    // Opens an existing file for writing at its end. False on failure (also when missing).
    bool Append();
    bool IsOpen() const { return fd_ >= 0; }
    // The error code of the last failed operation (0 after a success): 2 file not found,
    // 3 path not found, 5 access denied, 101 disk full, 103 file not open.
    int IOResult() const { return ioResult_; }

    void Write(const AnsiString& text);
    void WriteLn(const AnsiString& text = AnsiString());
    // Writes what is buffered and closes; the file is closed even when the write fails,
    // and the failure is raised afterwards.
    void Close();

private:
    bool Open(int flags);
    void CloseQuietly();
    void Flush();
    [[noreturn]] void Fail(int code);

    AnsiString fileName_;
    int fd_ = -1;
    int ioResult_ = 0;
    std::string buffer_;
};
