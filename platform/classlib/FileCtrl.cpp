#include "platform/classlib/FileCtrl.h"

#include "platform/rtl/FileNames.h"

#include <vector>

namespace {

// The folders of "\a\b\" (or "a\b\"), in order.
std::vector<AnsiString> SplitFolders(const AnsiString& Dir)
{
    std::vector<AnsiString> folders;
    AnsiString part;
    for (int i = 1; i <= Dir.Length(); ++i) {
        if (Dir[i] != '\\') {
            part += Dir[i];
            continue;
        }
        if (!part.IsEmpty()) folders.push_back(part);
        part = AnsiString();
    }
    return folders;
}

} // namespace

AnsiString MinimizeName(const AnsiString& FileName, TCanvas* Canvas, int MaxLen)
{
    if (Canvas->TextWidth(FileName) <= MaxLen) return FileName;
    // A folder path ending in "\" keeps its last folder, with the "\", as its name.
    const bool trailing = FileName.Length() > 0 && FileName[FileName.Length()] == '\\';
    const AnsiString body = trailing ? ::Copy(FileName, 1, FileName.Length() - 1) : FileName;
    const AnsiString drive = ExtractFileDrive(body);
    const AnsiString name = ExtractFileName(body) + (trailing ? "\\" : "");
    const AnsiString dir = ::Copy(body, drive.Length() + 1, body.Length() - drive.Length() - ExtractFileName(body).Length());
    const std::vector<AnsiString> folders = SplitFolders(dir);
    if (folders.empty()) return FileName;
    const AnsiString root = dir.Length() > 0 && dir[1] == '\\' ? "\\" : "";
    AnsiString result = FileName;
    for (std::size_t cut = 1; cut <= folders.size(); ++cut) {
        result = drive + root + "...\\";
        for (std::size_t i = cut; i < folders.size(); ++i) result += folders[i] + "\\";
        result += name;
        if (Canvas->TextWidth(result) <= MaxLen) break;
    }
    return result;
}
