#pragma once

// The verbs of the window: the word each toolbar button carries in its picture, which is
// also its name for a screen reader, and the key that runs it.
namespace torvanik {

struct Verb {
    int command;
    const char* word;
    const char* key;  // in the toolkit's portable key names; nullptr when none
};

// The verb of `command`, or nullptr when it has none.
const Verb* VerbOf(int command);

// The name of the toolbar's button that shows the buttons a narrow window has no room for.
inline constexpr const char* kMoreButtonsName = "Flere knapper";

}  // namespace torvanik
