#include "platform/user_locale.h"

#include <clocale>

namespace torvanik {

void FollowUserLanguage() {
    std::setlocale(LC_ALL, "");
    std::setlocale(LC_NUMERIC, "C");
}

}  // namespace torvanik
