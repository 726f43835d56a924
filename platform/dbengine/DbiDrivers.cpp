#include "platform/dbengine/DbiDrivers.h"

#include "platform/dbengine/DbiError.h"
#include "platform/dbengine/JetDatabase.h"
#include "platform/rtl/FileSystem.h"
#include "platform/rtl/StrUtils.h"

#include <filesystem>
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

std::unique_ptr<DbiConnection> OpenParadox(const std::vector<AnsiString>& params, bool readOnly)
{
    const AnsiString folder = RequiredParam(params, "PATH", "STANDARD");
    const std::filesystem::path posix = FileSystem::ToPosixPath(folder);
    std::error_code ec;
    if (!std::filesystem::is_directory(posix, ec))
        throw EDbiError("Invalid path: the folder " + folder + " does not exist");
    return std::make_unique<DbiConnection>((posix / kParadoxTablesFile).string(), SqlDialect::Paradox, readOnly,
                                           true);
}

std::unique_ptr<DbiConnection> OpenAccess(const std::vector<AnsiString>& params, bool readOnly)
{
    const AnsiString file = RequiredParam(params, "DATABASE NAME", "MSACCESS");
    const std::string posix = FileSystem::ToPosixPath(file);
    std::error_code ec;
    if (!std::filesystem::is_regular_file(posix, ec))
        throw EDbiError("Cannot open database " + file + ": the file does not exist");
    // Told apart by content: an empty or foreign file is refused here, before the engine
    // would take it for an empty database.
    switch (AccessFileKindOf(posix)) {
    case AccessFileKind::Jet: return OpenJetDatabase(posix, file);
    case AccessFileKind::Engine: break;
    case AccessFileKind::NotADatabase:
        throw EDbiError("Cannot open database " + file + ": the file is not a database");
    }
    return std::make_unique<DbiConnection>(posix, SqlDialect::Access, readOnly, false);
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
