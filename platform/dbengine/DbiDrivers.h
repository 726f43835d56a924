// The engine's two drivers, chosen by name as a database's DriverName names them:
//   "STANDARD"  Paradox tables of the folder named by PATH=folder; all tables of a folder
//               live in one engine file, tables.sqlite3, made on first connection.
//   "MSACCESS"  the Access database named by DATABASE NAME=file: an engine file whatever
//               its extension, or a genuine Access (Jet 3 or Jet 4) file, always read-only;
//               told apart by content. It must exist; any other file is not a database.
// Paths are in Windows form and pass the file-system boundary. "OPEN MODE=READ ONLY" or
// the read-only flag opens the database read-only; "OPEN MODE=READ/WRITE" is the default.
#pragma once

#include "platform/dbengine/DbiConnection.h"
#include "platform/rtl/AnsiString.h"

#include <memory>
#include <vector>

// Name of the engine file that holds a Paradox folder's tables.
inline constexpr const char* kParadoxTablesFile = "tables.sqlite3";

// Value of the NAME=value line whose name matches (ignoring case and blanks around the
// name); empty when there is none.
AnsiString DbiParamValue(const std::vector<AnsiString>& params, const AnsiString& name);

// Opens a database of the driver; raises EDbiError for an unknown driver, a missing
// parameter, a folder or file that does not exist or a file that is not a database.
std::unique_ptr<DbiConnection> DbiOpenDatabase(const AnsiString& driverName, const std::vector<AnsiString>& params,
                                               bool readOnly);
