#pragma once

// Resource ids of the dialogs and their controls.
namespace torvanik {

inline constexpr int IDR_MAINFRAME = 128;

inline constexpr int IDD_ABOUT = 100;
inline constexpr int IDD_SELECT_DRIVE = 160;
inline constexpr int IDD_ABORT_CONFIRM = 161;
inline constexpr int IDD_RESUME_CONFIRM = 162;
inline constexpr int IDD_TAKE_FROM_PARITY = 163;

inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;

// IDC_DRIVE_A to IDC_DRIVE_N are consecutive: the drive index is id - IDC_DRIVE_A.
inline constexpr int IDC_DRIVE_A = 1007;
inline constexpr int IDC_DRIVE_B = 1008;
inline constexpr int IDC_DRIVE_C = 1009;
inline constexpr int IDC_DRIVE_D = 1010;
inline constexpr int IDC_DRIVE_E = 1011;
inline constexpr int IDC_DRIVE_F = 1012;
inline constexpr int IDC_DRIVE_G = 1013;
inline constexpr int IDC_DRIVE_H = 1014;
inline constexpr int IDC_DRIVE_I = 1015;
inline constexpr int IDC_DRIVE_J = 1016;
inline constexpr int IDC_DRIVE_K = 1017;
inline constexpr int IDC_DRIVE_L = 1018;
inline constexpr int IDC_DRIVE_M = 1019;
inline constexpr int IDC_DRIVE_N = 1020;

}  // namespace torvanik
