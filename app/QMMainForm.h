// The main window's form description: its controls and menus.
#pragma once

#include "ui/Controls.h"
#include "ui/Menu.h"

namespace pelmira::qmmain {

inline constexpr FontSpec kLabelFont{L"Times New Roman", 19, true};

inline constexpr ControlSpec kControls[] = {
    // kind, name, parent, left, top, width, height, caption, hint, font, glyph, flags
    {ControlKind::GlyphButton, "Change_Btn", nullptr, 0, 0, 57, 70, L"変更", L"壁紙変更", nullptr,
     L"GLYPH_CHANGE", cfNone},
    {ControlKind::GlyphButton, "NonChange_Btn", nullptr, 57, 0, 57, 70, L"壁紙無", L"壁紙無し",
     nullptr, L"GLYPH_NONE", cfNone},
    {ControlKind::GlyphButton, "ChgMode_Btn", nullptr, 114, 0, 57, 70, L"表示切替", L"表示ｽﾀｲﾙ切替",
     nullptr, L"GLYPH_STYLE", cfNone},
    {ControlKind::GlyphButton, "AutoChg_Btn", nullptr, 171, 0, 57, 70, L"自動変更",
     L"自動変更ﾓｰﾄﾞに移行", nullptr, L"GLYPH_AUTO", cfNone},
    {ControlKind::GlyphButton, "Config_Btn", nullptr, 228, 0, 57, 70, L"設定", L"各種設定", nullptr,
     L"GLYPH_CONFIG", cfNone},
    {ControlKind::GlyphButton, "Help_Btn", nullptr, 285, 0, 57, 70, L"ヘルプ", L"ﾍﾙﾌﾟを表示",
     nullptr, L"GLYPH_HELP", cfNone},
    {ControlKind::GlyphButton, "Exit_Btn", nullptr, 342, 0, 57, 70, L"終了", L"Pelmiraを終了",
     nullptr, L"GLYPH_EXIT", cfNone},
    {ControlKind::Label, "Label1", nullptr, 180, 71, 0, 0, L"Preview", nullptr, &kLabelFont,
     nullptr, cfAutoSize},
    {ControlKind::DriveComboBox, "DriveComboBox1", nullptr, 15, 78, 151, 22, nullptr, nullptr,
     nullptr, nullptr, cfNone},
    {ControlKind::DirectoryListBox, "DirectoryListBox1", nullptr, 15, 104, 151, 84, nullptr,
     nullptr, nullptr, nullptr, cfNone},
    {ControlKind::FileListBox, "FileListBox1", nullptr, 15, 192, 151, 97, nullptr, nullptr, nullptr,
     nullptr, cfNone},
    {ControlKind::GroupBox, "GroupBox1", nullptr, 180, 90, 200, 200, nullptr, nullptr, nullptr,
     nullptr, cfNone},
    {ControlKind::Image, "PreViewImage", "GroupBox1", 15, 20, 170, 170, nullptr, nullptr, nullptr,
     nullptr, cfNone},
    {ControlKind::Bevel, "Bevel1", nullptr, -5, 285, 406, 11, nullptr, nullptr, nullptr, nullptr,
     cfNone},
    {ControlKind::Panel, "BmpNamePanel", nullptr, 6, 303, 245, 26, nullptr, nullptr, nullptr,
     nullptr, cfSunken | cfAlignLeft},
    {ControlKind::Panel, "BmpInfoPanel", nullptr, 257, 303, 136, 26, nullptr, nullptr, nullptr,
     nullptr, cfSunken},
    {ControlKind::ListBox, "ChangeListBox", nullptr, 7, 365, 80, 40, nullptr, nullptr, nullptr,
     nullptr, cfHidden},
    {ControlKind::ListBox, "SusieListBox", nullptr, 91, 365, 80, 40, nullptr, nullptr, nullptr,
     nullptr, cfHidden},
};

inline constexpr MenuSpec kMainMenu[] = {
    {"Operation", L"操作(&O)", 0},
    {"Menu_Change", L"壁紙変更(&C)", 1},
    {"Menu_None", L"壁紙無し(&N)", 1},
    {"DisplayMode", L"表示スタイル(&D)", 1},
    {"TileStyle", L"タイル表示(&T)", 2},
    {"CenterStyle", L"中央表示(&C)", 2},
    {"StretchStyle", L"伸縮表示(&S)", 2},
    {"FitStyle", L"画面のサイズに合わせる(&F)", 2},
    {"FillStyle", L"ページ幅に合わせる(&P)", 2},
    // Filled with the desk's monitors whenever the menu opens.
    {"MonitorMenu", L"モニタ(&M)", 1},
    {"MonitorChoice", L"1", 2},
    {"Menu_Jidou", L"自動変更(&J)", 1},
    {"Menu_Config", L"設定(&S)", 1},
    {"N1", L"-", 1},
    {"Menu_Exit", L"終了(&X)", 1},
    {"Help", L"ヘルプ(&H)", 0},
    {"QM1", L"目次(&C)", 1},
    {"KH2", L"ヘルプの使い方(&H)", 1},
    {"N2", L"-", 1},
    {"KA1", L"バージョン情報(&A)...", 1},
};

// The tray icon's menu in automatic mode.
inline constexpr MenuSpec kPopupMenu[] = {
    {"NextPaper", L"次の壁紙(&N)", 0},
    {"PrevPaper", L"前の壁紙(&P)", 0},
    {"N5", L"-", 0},
    {"K1", L"元のｻｲｽﾞに戻す(自動変更解除)(&R)", 0},
    {"N3", L"-", 0},
    {"Help1", L"ﾍﾙﾌﾟ目次(&H)", 0},
    {"KA2", L"バージョン情報(&A)...", 0},
    {"N4", L"-", 0},
    {"Exit1", L"終了(&X)", 0},
};

} // namespace pelmira::qmmain
