// Numeric command ids shared by menu, accelerators, tool bar and context menus, and
// the one table of them: frame, view and hex panes all name commands from here.
// Each becomes one QAction whose objectName is "cmd<id>".
#pragma once

namespace dualvex::cmd {

inline constexpr int New = 57600;
inline constexpr int Open = 57601;
inline constexpr int Exit = 57665;
inline constexpr int Copy = 57634;
inline constexpr int Cut = 57635;
inline constexpr int Paste = 57637;
inline constexpr int CopyCpp = 32797;
inline constexpr int FindNext = 32771;
inline constexpr int Find = 57636;
inline constexpr int FindRange = 32774;
inline constexpr int Calculator = 32793;
inline constexpr int Checksum = 32780;
inline constexpr int GotoAddress = 32790;
inline constexpr int Colours = 32776;
inline constexpr int Font = 32775;
inline constexpr int HexSettings = 32778;
inline constexpr int SplitHorizontal = 40006;
inline constexpr int FlatToolbar = 32779;
inline constexpr int StayOnTop = 40016;
inline constexpr int ToggleToolbar = 59392;
inline constexpr int ToggleStatusbar = 59393;
inline constexpr int About = 57664;
inline constexpr int SyntaxHelp = 57670;
inline constexpr int FirstDiff = 40010;
inline constexpr int CurrentDiff = 40011;
inline constexpr int LastDiff = 40012;
inline constexpr int PreviousDiff = 40013;
inline constexpr int NextDiff = 40014;
inline constexpr int Reload = 40017;
inline constexpr int AutoReload = 40018;
inline constexpr int NextPane = 57680;
inline constexpr int PreviousPane = 57681;
inline constexpr int CopyPath = 35078;
inline constexpr int StartEditor = 35079;
// Hex pane commands reached from the pane's own context menu and keys.
inline constexpr int PasteHex = 35084;
inline constexpr int Undo = 57643;
inline constexpr int Redo = 35075;
inline constexpr int InsertNumber = 32796;
inline constexpr int FloatConverter = 35081;
inline constexpr int CopyEscaped = 35083;
inline constexpr int CrcCalculator = 35085;

} // namespace dualvex::cmd
