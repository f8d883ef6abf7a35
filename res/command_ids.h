#pragma once

// Command ids of the menu and the toolbar.
namespace torvanik {

inline constexpr int ID_DISK_READY = 32772;
inline constexpr int ID_SPLIT_OUT = 32773;
inline constexpr int ID_JOIN_IN = 32775;
inline constexpr int ID_CLEAN_DISK = 32777;
inline constexpr int ID_SELECT_DRIVE = 32780;
inline constexpr int ID_PARITY_DISK = 32781;
inline constexpr int IDS_IDLE_MESSAGE = 57345;
inline constexpr int ID_APP_ABOUT = 57664;
inline constexpr int ID_APP_EXIT = 57665;
inline constexpr int ID_SHOW_HELP = 57671;
inline constexpr int ID_VIEW_TOOLBAR = 59392;
inline constexpr int ID_VIEW_STATUS_BAR = 59393;
// The message pane while a disk is read back and checked.
inline constexpr int IDS_CHECKING_DISK = 61216;
inline constexpr int ID_SEPARATOR = 0;

}  // namespace torvanik
