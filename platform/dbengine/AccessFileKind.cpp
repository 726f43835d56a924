#include "platform/dbengine/AccessFileKind.h"

#include <cstddef>
#include <cstring>
#include <fstream>

namespace {

constexpr char kSqliteSignature[] = "SQLite format 3"; // with its NUL: 16 bytes
constexpr char kJetSignature[] = "Standard Jet DB";    // at offset 4, with its NUL
constexpr std::size_t kJetSignatureOffset = 4;
// The signatures and the Jet version after them: a shorter file is neither kind.
constexpr std::size_t kHeadSize = 0x18;

} // namespace

AccessFileKind AccessFileKindOf(const std::string& posixFile)
{
    unsigned char head[kHeadSize] = {};
    std::ifstream in(posixFile, std::ios::binary);
    if (!in.read(reinterpret_cast<char*>(head), sizeof head))
        return AccessFileKind::NotADatabase;
    if (std::memcmp(head, kSqliteSignature, sizeof kSqliteSignature) == 0)
        return AccessFileKind::Engine;
    if (std::memcmp(head + kJetSignatureOffset, kJetSignature, sizeof kJetSignature) == 0)
        return AccessFileKind::Jet;
    return AccessFileKind::NotADatabase;
}
