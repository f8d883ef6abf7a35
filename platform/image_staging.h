#pragma once

#include <string>

#include "platform/result.h"

// What an image step keeps beside its image, on the image's own file system: the copy of
// the image it changes, and private folders of the image's files, each named
// ".~torvanik.NAME.XXXXXX" for the image NAME. Only a step that holds the image folder's
// lock makes or removes them, so whatever such a step finds there a killed step left.
namespace torvanik {

// "DIR/.~torvanik.NAME.XXXXXX" for the image DIR/NAME, for mkstemp and mkdtemp to fill in.
std::string PatternBeside(const std::string& image);

// A new private folder beside `image`; the Why holds the system's error number.
Result<std::string> MakeFolderBeside(const std::string& image);

// Removes the copies and folders that killed steps left in the image folder `directory`.
// One that can't be removed now stays for the next step that holds the folder to try.
void RemoveLeftovers(const std::string& directory);

}  // namespace torvanik
