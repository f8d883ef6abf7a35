#include "res/verbs.h"

#include <array>

#include "res/command_ids.h"

namespace torvanik {
namespace {

constexpr std::array kVerbs = {
    Verb{ID_SPLIT_OUT, "UT", "Ctrl+O"},      Verb{ID_JOIN_IN, "INN", "Ctrl+S"},
    Verb{ID_DISK_READY, "KLAR", "Ctrl+K"},   Verb{ID_CLEAN_DISK, "RYDDE", "Ctrl+R"},
    Verb{ID_SELECT_DRIVE, "VELG", "Ctrl+D"}, Verb{ID_APP_ABOUT, "Info", nullptr},
};

}  // namespace

const Verb* VerbOf(int command) {
    for (const Verb& verb : kVerbs) {
        if (verb.command == command) {
            return &verb;
        }
    }
    return nullptr;
}

}  // namespace torvanik
