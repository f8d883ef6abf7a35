#pragma once

#include <QStringList>
#include <string>
#include <string_view>

#include "res/texts/window_texts.h"

// The file types the pickers offer, from the catalogue's FileTypeFilters.
namespace torvanik {

// "Alle filer" and the 12 file types: entries 1 to 13.
std::string SourceFilterText();
// The usage hint, "Alle filer" and the 12 file types: entries 0 to 13.
std::string CleanUpFilterText();

// A filter text as Qt's name filters, "description (patterns)", in the same order.
// Patterns keep their Windows sense: "*.*" shows every file, names without a dot too.
QStringList QtNameFilters(std::string_view filterText);

}  // namespace torvanik
