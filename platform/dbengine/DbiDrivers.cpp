#include "platform/dbengine/DbiDrivers.h"

#include "platform/dbengine/AccessFileKind.h"
#include "platform/dbengine/DbiError.h"
#include "platform/dbengine/JetDatabase.h"
#include "platform/rtl/FileSystem.h"
#include "platform/rtl/StrUtils.h"

#include <cerrno>
#include <filesystem>
#include <unistd.h>
#include <system_error>

namespace {

bool WantsReadOnly(const std::vector<AnsiString>& params, bool readOnly)
{
    return readOnly || SameText(Trim(DbiParamValue(params, "OPEN MODE")), "READ ONLY");
}

AnsiString RequiredParam(const std::vector<AnsiString>& params, const AnsiString& name, const AnsiString& driver)
{
    const AnsiString value = Trim(DbiParamValue(params, name));
    if (value.IsEmpty())
        throw EDbiError("The " + driver + " driver needs the parameter " + name);
    return value;
}

bool Denied(int error) { return error == EACCES || error == EPERM; }

// Why the host refuses an existing database file for the opening asked, in the words a
// user reads; empty when it does not. A file without write permission is read-only, as
// the read-only attribute makes a file on the original platform, whoever opens it.
AnsiString FileProblem(const std::string& posix, bool readOnly)
{
    if (::access(posix.c_str(), R_OK) != 0 && Denied(errno))
        return "permission denied";
    if (readOnly)
        return "";
    std::error_code ec;
    using std::filesystem::perms;
    const perms mode = std::filesystem::status(posix, ec).permissions();
    if (!ec && (mode & (perms::owner_write | perms::group_write | perms::others_write)) == perms::none)
        return "the file is read-only";
    if (::access(posix.c_str(), W_OK) != 0)
        return errno == EROFS ? AnsiString("the file is read-only") : Denied(errno) ? AnsiString("permission denied") : "";
    // Changes go through a journal made beside the file.
    const std::string folder = std::filesystem::path(posix).parent_path().string();
    if (::access(folder.empty() ? "." : folder.c_str(), W_OK) != 0)
        return errno == EROFS ? AnsiString("the file is read-only")
                              : Denied(errno) ? AnsiString("permission denied: its folder cannot be written") : "";
    return "";
}

// What is wrong with a path that should name an existing file or folder; empty when it
// exists as one.
AnsiString MissingProblem(const std::string& posix, bool folder)
{
    std::error_code ec;
    const std::filesystem::file_status status = std::filesystem::status(posix, ec);
    if (ec)
        return Denied(ec.value()) ? "permission denied"
                                  : folder ? "the folder does not exist" : "the file does not exist";
    if (folder ? !std::filesystem::is_directory(status) : !std::filesystem::is_regular_file(status))
        return folder ? "the folder does not exist" : std::filesystem::is_directory(status)
                                                          ? "the name is a folder, not a database file"
                                                          : "the file does not exist";
    return "";
}

AnsiString InFolder(const AnsiString& folder, const char* name)
{
    return !folder.IsEmpty() && (folder[folder.Length()] == '\\' || folder[folder.Length()] == '/')
               ? folder + name
               : folder + "\\" + name;
}

std::unique_ptr<DbiConnection> OpenParadox(const std::vector<AnsiString>& params, bool readOnly)
{
    const AnsiString folder = RequiredParam(params, "PATH", "STANDARD");
    const std::filesystem::path posix = FileSystem::ToPosixPath(folder);
    const AnsiString missing = MissingProblem(posix.string(), true);
    if (missing == "permission denied" || (::access(posix.c_str(), R_OK | X_OK) != 0 && Denied(errno)))
        throw EDbiError("Invalid path: the folder " + folder + " cannot be read: permission denied");
    if (!missing.IsEmpty())
        throw EDbiError("Invalid path: the folder " + folder + " does not exist");
    const std::string file = (posix / kParadoxTablesFile).string();
    const AnsiString name = InFolder(folder, kParadoxTablesFile);
    std::error_code ec;
    if (std::filesystem::exists(file, ec)) {
        const AnsiString problem = FileProblem(file, readOnly);
        if (!problem.IsEmpty())
            throw EDbiError("Cannot open database " + name + ": " + problem);
    }
    return std::make_unique<DbiConnection>(file, SqlDialect::Paradox, readOnly, true, name);
}

std::unique_ptr<DbiConnection> OpenAccess(const std::vector<AnsiString>& params, bool readOnly)
{
    const AnsiString file = RequiredParam(params, "DATABASE NAME", "MSACCESS");
    const std::string posix = FileSystem::ToPosixPath(file);
    AnsiString problem = MissingProblem(posix, false);
    if (problem.IsEmpty())
        problem = FileProblem(posix, readOnly);
    if (!problem.IsEmpty())
        throw EDbiError("Cannot open database " + file + ": " + problem);
    // Told apart by content: an empty or foreign file is refused here, before the engine
    // would take it for an empty database.
    switch (AccessFileKindOf(posix)) {
    case AccessFileKind::Jet: return OpenJetDatabase(posix, file);
    case AccessFileKind::Engine: break;
    case AccessFileKind::NotADatabase:
        throw EDbiError("Cannot open database " + file + ": the file is not a database");
    }
    return std::make_unique<DbiConnection>(posix, SqlDialect::Access, readOnly, false, file);
}

} // namespace

AnsiString DbiParamValue(const std::vector<AnsiString>& params, const AnsiString& name)
{
    for (const AnsiString& line : params) {
        const int eq = Pos("=", line);
        if (eq > 0 && SameText(Trim(Copy(line, 1, eq - 1)), name))
            return Copy(line, eq + 1, line.Length());
    }
    return "";
}

std::unique_ptr<DbiConnection> DbiOpenDatabase(const AnsiString& driverName, const std::vector<AnsiString>& params,
                                               bool readOnly)
{
    const bool ro = WantsReadOnly(params, readOnly);
    if (SameText(driverName, "STANDARD"))
        return OpenParadox(params, ro);
    if (SameText(driverName, "MSACCESS"))
        return OpenAccess(params, ro);
    throw EDbiError("Unknown database driver: " + driverName);
}
