#pragma once

#include <QString>

#include <memory>

// The parsed files shared by every IniFile of the program, and the pinned
// copies read from them. Part of the INI layer behind base/ini_file.h.

struct IniDocument;

namespace Ini {

// Drops the parsed copy of the file at `path` (a write replaced the file, or
// it cannot be read) and returns the empty document that stands for it.
std::shared_ptr<const IniDocument> forget(const QString& path);

} // namespace Ini
