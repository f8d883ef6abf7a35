#pragma once

namespace torvanik {

// Lets the system's error texts follow the user's language (LANG, LC_ALL, ...), while
// numbers keep the C locale's form, which the program's own formatting counts on.
void FollowUserLanguage();

}  // namespace torvanik
