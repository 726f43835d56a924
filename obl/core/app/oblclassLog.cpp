// The application object's log file: a text file of CR LF lines, opened and closed for every
// entry, so it persists between runs and is complete whenever the program stops.
#include "obl/core/app/oblclass.h"

#include "obl/core/base/Oblstrings.h"
#include "platform/classlib/Forms.h"
#include "platform/rtl/CommandLine.h"
#include "platform/rtl/DateTime.h"
#include "platform/rtl/FileNames.h"
#include "platform/rtl/Files.h"
#include "platform/rtl/NumConv.h"

namespace {

// Checking the size of tiny limits would clear or move the log on every entry.
constexpr int kSmallestLogLimit = 100;

std::int64_t LogFileSize(const AnsiString& name)
{
    TSearchRec rec;
    const int found = FindFirst(ExpandFileName(name), faAnyFile, rec);
    FindClose(rec);
    return found == 0 ? rec.Size : -1;
}

} // namespace

void TOBLApplication::SetLogName(const AnsiString& Name)
{
    AnsiString name = Name;
    if (name.IsEmpty())
        name = ChangeFileExt(ParamStr(0), ".LOG");
    else if (ExtractFileExt(name).IsEmpty())
        name += ".LOG";
    logName_ = logPrefix_ == ppFixed ? name : OBLCreatePathPrefix(logPrefix_, true) + ExtractFileName(name);
}

void TOBLApplication::SetLogPrefix(TOBLPathPrefix Value)
{
    if (Value == logPrefix_) return;
    logPrefix_ = Value;
    SetLogName(logName_);
}

// Decides what a too large log means for this entry; false when nothing may be written.
bool TOBLApplication::LogTooLarge(bool& Reset)
{
    if (maxLogSize_ <= kSmallestLogLimit || LogFileSize(logName_) <= maxLogSize_) return true;
    bool cancel = false;
    onMaxLogSize_(this, logName_, cancel);
    if (cancel) return false;
    if (logAction_ == laClearLog) Reset = true;
    if (logAction_ == laBackupLog) {
        MoveToBackup();
        // Only a log that was moved away starts anew; one that could not be moved keeps
        // its entries and grows on.
        Reset = !FileExists(logName_);
    }
    return true;
}

void TOBLApplication::MoveToBackup()
{
    AnsiString backup;
    for (int n = 0;; ++n) {
        backup = ChangeFileExt(logName_, ".l" + IntToStr(n));
        if (!FileExists(backup)) break;
    }
    RenameFile(logName_, backup);
    if (Application) Application->ProcessMessages();
}

void TOBLApplication::WriteHeader(TTextFile& Log)
{
    const TDateTime now = Now();
    Log.WriteLn();
    Log.WriteLn("LogFile started: " + DateToStr(now) + " " + TimeToStr(now));
    Log.WriteLn("Application    : " + (Application ? Application->Title() : AnsiString()));
    Log.WriteLn("Path/ExeName   : " + (Application ? Application->ExeName() : ParamStr(0)));
    if (!version_.IsEmpty()) Log.WriteLn("Version        : " + version_);
    onHeaderWrite_(this, Log);
    Log.WriteLn(OBLFillString(80, '*'));
    Log.WriteLn();
    Log.WriteLn("Entries:");
}

AnsiString TOBLApplication::LogEntry(const AnsiString& Msg)
{
    ++entryNumber_;
    AnsiString line;
    for (int i = 1; i <= logFormat_.Length(); ++i) {
        switch (logFormat_[i]) {
        case '#':
            if (options_.Contains(aoLogNr)) line += Format("%.5d", {entryNumber_}) + ": ";
            break;
        case 't':
            if (options_.Contains(aoLogTime)) line += " [" + TimeToStr(Now()) + "]";
            break;
        case 'd':
            if (options_.Contains(aoLogDate)) line += " [" + DateToStr(Now()) + "]";
            break;
        case 'l': line += Msg; break;
        default: break;
        }
    }
    return line;
}

void TOBLApplication::LogWrite(const AnsiString& Msg)
{
    bool reset = false;
    if (!LogTooLarge(reset)) return;
    TTextFile log(logName_);
    const bool create = reset || !FileExists(logName_) || (options_.Contains(aoLogAlwaysClear) && !logStarted_);
    if (!(create ? log.Rewrite() : log.Append())) return;
    if (reset || (!logStarted_ && options_.Contains(aoLogHeader))) WriteHeader(log);
    if (Msg == "#CR")
        log.WriteLn();
    else if (Msg == "#Header")
        WriteHeader(log);
    else if (Msg == "#Line")
        log.WriteLn(OBLFillString(80, '*'));
    else
        log.WriteLn(LogEntry(Msg));
    log.Close();
    logStarted_ = true;
}
