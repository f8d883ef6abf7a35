#pragma once

#include <QStringList>
#include <array>
#include <string>
#include <string_view>

// The file types the pickers offer. Each entry is "description|pattern|", Windows-1252.
namespace torvanik {

extern const std::array<const char*, 14> FileTypeFilters;

// "Alle filer" and the 12 file types: entries 1 to 13.
std::string SourceFilterText();
// The usage hint, "Alle filer" and the 12 file types: entries 0 to 13.
std::string CleanUpFilterText();

// A filter text as Qt's name filters, "description (patterns)", in the same order.
// Patterns keep their Windows sense: "*.*" shows every file, names without a dot too.
QStringList QtNameFilters(std::string_view filterText);

}  // namespace torvanik
