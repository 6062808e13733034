#pragma once
// The compound file (OLE2) an .xls is kept in: a small file system of
// sector chains inside one file. Only reading one top-level stream is
// needed. Every sector number is checked against the file, every chain is
// followed at most once around (a chain that comes back to a sector it
// passed is refused), so no file can make the reader loop or read outside it.
#include <initializer_list>
#include <string>
#include <string_view>

#include "model/Status.h"

namespace corvane::detail {

// The stream of the first of names (compared without case, as the format
// wants) found among the top-level entries of the compound file in bytes.
// Refused when the stream would be larger than maxStreamBytes.
Result<std::string> ReadCompoundStream(std::string_view bytes, std::initializer_list<std::string_view> names,
                                       std::size_t maxStreamBytes);

}  // namespace corvane::detail
