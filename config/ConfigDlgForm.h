// The settings dialog's form description: the page control, its five pages
// and the button strip. Positions on a page count from the page's inside;
// positions in a group from the group's corner.
#pragma once

#include "ui/Controls.h"

namespace pelmira::configdlg {

inline constexpr int kClientWidth = 501;
inline constexpr int kClientHeight = 336;
inline constexpr int kStripTop = kClientHeight - 33;

inline constexpr FontSpec kPageFont{L"ＭＳ Ｐゴシック", 13, false};
inline constexpr FontSpec kSpinFont{L"ＭＳ Ｐゴシック", 15, false};
inline constexpr FontSpec kSmallButtonFont{L"ＭＳ Ｐゴシック", 11, false};
inline constexpr FontSpec kStyleGroupFont{L"ＭＳ Ｐゴシック", 12, false};

using K = ControlKind;
inline constexpr const FontSpec* P = &kPageFont;

// Table order is tab order; a label comes right before the control its
// accelerator leads to.
// clang-format off
inline constexpr ControlSpec kControls[] = {
    // kind, name, parent, left, top, width, height, caption, hint, font, glyph, flags
    {K::PageControl, "ConfigPage", nullptr, 5, 5, kClientWidth - 10, kStripTop - 5,
     L"自動変更ﾌｧｲﾙ|自動変更|画像処理|その他|ﾓﾆﾀ", nullptr, P, nullptr, cfNone},
    {K::TabSheet, "ChangeFile", "ConfigPage", 0, 0, 0, 0, nullptr, nullptr, P, nullptr, cfNone},
    {K::TabSheet, "AutoChg", "ConfigPage", 0, 0, 0, 0, nullptr, nullptr, P, nullptr, cfNone},
    {K::TabSheet, "OctreeP", "ConfigPage", 0, 0, 0, 0, nullptr, nullptr, P, nullptr, cfNone},
    {K::TabSheet, "Other", "ConfigPage", 0, 0, 0, 0, nullptr, nullptr, P, nullptr, cfNone},
    {K::TabSheet, "MonitorP", "ConfigPage", 0, 0, 0, 0, nullptr, nullptr, P, nullptr, cfNone},

    // "自動変更ﾌｧｲﾙ"
    {K::Bevel, "Bevel1", "ChangeFile", 10, 5, 151, 251, nullptr, nullptr, P, nullptr, cfSunken},
    {K::Bevel, "Bevel2", "ChangeFile", 165, 5, 94, 186, nullptr, nullptr, P, nullptr, cfSunken},
    {K::Bevel, "Bevel3", "ChangeFile", 262, 5, 212, 251, nullptr, nullptr, P, nullptr, cfSunken},
    {K::DriveComboBox, "DriveComboBox1", "ChangeFile", 20, 25, 130, 22, nullptr, nullptr, P, nullptr, cfNone},
    {K::DirectoryListBox, "DirectoryListBox1", "ChangeFile", 20, 50, 130, 86, nullptr, nullptr, P, nullptr, cfNone},
    {K::Label, "Label1", "ChangeFile", 20, 10, 0, 0, L"候補ﾘｽﾄ(&M)", nullptr, P, nullptr, cfAutoSize},
    {K::FileListBox, "FileListBox1", "ChangeFile", 20, 140, 130, 106, nullptr, nullptr, P, nullptr, cfNone},
    {K::GlyphButton, "ListAddBtn", "ChangeFile", 171, 10, 80, 30, L"追加(&A)", L"自動変更ﾘｽﾄに追加", P,
     L"GLYPH_ADD", cfGlyphLeft},
    // Two columns, so that fit and fill join the three in the same room.
    {K::GroupBox, "StyleGroup", "ChangeFile", 167, 45, 90, 66, L"表示ｽﾀｲﾙ(&Y)", nullptr, &kStyleGroupFont, nullptr, cfNone},
    {K::RadioButton, "TileRadioBtn", "StyleGroup", 3, 14, 43, 17, L"ﾀｲﾙ", L"ﾀｲﾙ表示で登録", &kStyleGroupFont, nullptr, cfNone},
    {K::RadioButton, "CenterRadioBtn", "StyleGroup", 3, 29, 43, 17, L"中央", L"中央表示で登録", &kStyleGroupFont, nullptr, cfNone},
    {K::RadioButton, "ExaRadioBtn", "StyleGroup", 3, 44, 43, 17, L"伸縮", L"伸縮表示で登録 Plus!が無いときは無効",
     &kStyleGroupFont, nullptr, cfNone},
    {K::RadioButton, "FitRadioBtn", "StyleGroup", 47, 14, 41, 17, L"ﾌｨｯﾄ",
     L"画面のｻｲｽﾞに合わせる表示で登録 Windows 7以降", &kStyleGroupFont, nullptr, cfNone},
    {K::RadioButton, "FillRadioBtn", "StyleGroup", 47, 29, 41, 17, L"ﾌｨﾙ",
     L"ﾍﾟｰｼﾞ幅に合わせる表示で登録 Windows 7以降", &kStyleGroupFont, nullptr, cfNone},
    {K::Bevel, "PreviewPanel", "ChangeFile", 177, 115, 70, 70, nullptr, nullptr, P, nullptr, cfSunken},
    {K::Image, "PreViewImage", "ChangeFile", 179, 117, 66, 66, nullptr, nullptr, P, nullptr, cfNone},
    {K::GlyphButton, "LoadZELBtn", "ChangeFile", 171, 195, 82, 31, L"読込(&R)", L"zelﾌｧｲﾙの読込", P,
     L"GLYPH_LOAD", cfGlyphLeft},
    {K::GlyphButton, "SaveZELBtn", "ChangeFile", 171, 226, 82, 30, L"保存(&S)", L"zelﾌｧｲﾙに保存", P,
     L"GLYPH_SAVE", cfGlyphLeft},
    {K::Label, "Label2", "ChangeFile", 270, 10, 0, 0, L"自動変更ﾘｽﾄ(&J)", nullptr, P, nullptr, cfAutoSize},
    {K::Custom, "ListBox1", "ChangeFile", 270, 25, 196, 190, nullptr, nullptr, P, nullptr, cfNone},
    {K::Button, "ListClearBtn", "ChangeFile", 270, 220, 50, 32, L"ｸﾘｱ(&L)", L"自動変更ﾘｽﾄを初期化", P, nullptr, cfNone},
    {K::Button, "ListDelBtn", "ChangeFile", 320, 220, 50, 32, L"削除(&D)", L"ﾘｽﾄから削除", P, nullptr, cfNone},
    {K::Button, "ListUpBtn", "ChangeFile", 370, 220, 50, 32, L"上(&U)", L"１つ上に移動", P, nullptr, cfNone},
    {K::Button, "ListDownBtn", "ChangeFile", 420, 220, 50, 32, L"下(&N)", L"１つ下に移動", P, nullptr, cfNone},

    // "自動変更"
    {K::GroupBox, "AutoGroup", "AutoChg", 15, 10, 201, 126, L"自動変更", L"自動変更関係のオプションの設定", P, nullptr, cfNone},
    {K::Label, "Label3", "AutoGroup", 10, 30, 0, 0, L"変更間隔(&I):(秒)", nullptr, P, nullptr, cfAutoSize},
    {K::SpinEdit, "ChangeSpinEdit", "AutoGroup", 110, 30, 75, 24, nullptr, nullptr, &kSpinFont, nullptr, cfNone},
    {K::Label, "Label4", "AutoGroup", 10, 65, 0, 0, L"変更順序(&R)：", nullptr, P, nullptr, cfAutoSize},
    {K::ComboBox, "ChangeCmbBox", "AutoGroup", 30, 88, 141, 21, nullptr, nullptr, P, nullptr, cfNone},
    {K::GroupBox, "StartGroup", "AutoChg", 225, 10, 246, 126, L"起動時の設定", L"起動時の設定します。", P, nullptr, cfNone},
    {K::CheckBox, "StartChgChkBox", "StartGroup", 10, 25, 186, 21, L"すぐ自動壁紙変更モード(&M)", nullptr, P, nullptr, cfNone},
    {K::Label, "Label5", "StartGroup", 10, 65, 0, 0, L"初期ZELﾌｧｲﾙの指定(&K):", nullptr, P, nullptr, cfAutoSize},
    {K::Edit, "ZELFileEdit", "StartGroup", 10, 94, 156, 21, nullptr, nullptr, P, nullptr, cfNone},
    {K::GlyphButton, "ZELBroBtn", "StartGroup", 175, 80, 62, 36, L"参照(&F)", nullptr, &kSmallButtonFont,
     L"GLYPH_BROWSE", cfGlyphLeft},
    {K::GroupBox, "InhibitGroup", "AutoChg", 15, 145, 201, 106, L"壁紙変更抑止", L"監視機能関係のオプションの設定", P, nullptr, cfNone},
    {K::CheckBox, "CheckCheckBox", "InhibitGroup", 10, 16, 171, 25, L"ﾏｳｽｷｰﾎﾞｰﾄﾞ監視を有効(&C)", nullptr, P, nullptr, cfNone},
    {K::CheckBox, "ScrCheckBox", "InhibitGroup", 10, 45, 186, 21, L"ｽｸﾘｰﾝｾｰﾊﾞｰ監視を有効(&S)", nullptr, P, nullptr, cfNone},
    {K::Label, "Label6", "InhibitGroup", 10, 80, 0, 0, L"監視時間(&T):(秒)", nullptr, P, nullptr, cfAutoSize},
    {K::SpinEdit, "CheckSpinEdit", "InhibitGroup", 115, 75, 75, 24, nullptr, nullptr, &kSpinFont, nullptr, cfNone},
    {K::GroupBox, "InterfaceGroup", "AutoChg", 224, 145, 247, 36, L"ｲﾝﾀｰﾌｪ-ｽ(&A)", nullptr, P, nullptr, cfNone},
    {K::RadioButton, "IconRadioBtn", "InterfaceGroup", 14, 15, 62, 15, L"ｱｲｺﾝ", nullptr, P, nullptr, cfNone},
    {K::RadioButton, "IconTrayRadioBtn", "InterfaceGroup", 81, 15, 90, 15, L"ｱｲｺﾝ+ﾄﾚｲ", nullptr, P, nullptr, cfNone},
    {K::RadioButton, "TrayRadioBtn", "InterfaceGroup", 177, 15, 59, 15, L"ﾄﾚｲ", nullptr, P, nullptr, cfNone},
    {K::CheckBox, "HotKeyChkBox", "AutoChg", 229, 192, 215, 36, L"ホットキーを使う (Ctrl+Alt+→ 次 / Ctrl+Alt+← 前)",
     L"自動変更中にｷｰで次の壁紙・前の壁紙に変更", P, nullptr, cfMultiLine},

    // "画像処理"
    {K::Bevel, "Bevel4", "OctreeP", 20, 10, 450, 181, nullptr, nullptr, P, nullptr, cfSunken},
    {K::GroupBox, "QuanGroup", "OctreeP", 39, 25, 180, 150, L"減色処理 (256色環境)", L"減色関係のオプションを設定します。", P, nullptr, cfNone},
    {K::Label, "Label7", "QuanGroup", 15, 29, 0, 0, L"初期品質(&Q)", nullptr, P, nullptr, cfAutoSize},
    {K::SpinEdit, "QuaSpinEdit", "QuanGroup", 95, 23, 73, 24, nullptr, nullptr, &kSpinFont, nullptr, cfNone},
    {K::GroupBox, "QuantizeGroup", "QuanGroup", 15, 60, 141, 81, L"減色機能", L"減色機能を使用するか決定します。", P, nullptr, cfNone},
    {K::RadioButton, "QAutoRBtn", "QuantizeGroup", 11, 25, 125, 17, L"自動的に判定(&A)", nullptr, P, nullptr, cfNone},
    {K::RadioButton, "QOFFRBtn", "QuantizeGroup", 11, 50, 75, 17, L"しない(&N)", nullptr, P, nullptr, cfNone},
    {K::GroupBox, "AspectGroup", "OctreeP", 244, 25, 207, 150, L"ｱｽﾍﾟｸﾄ比\u3000PIC/Pi/PIC2", L"データ表示時のアスペクト比を設定します。", P, nullptr, cfNone},
    {K::CheckBox, "AspectCheckBox", "AspectGroup", 13, 30, 183, 17, L"ｱｽﾍﾟｸﾄ比を自動調整をする(&U)",
     L"表示データにあわせてアスペクト比を自動調整", P, nullptr, cfNoHint},
    {K::GroupBox, "AdjustGroup", "AspectGroup", 14, 60, 132, 81, L"調整方法", nullptr, P, nullptr, cfNone},
    {K::RadioButton, "WidthRadioBtn", "AdjustGroup", 7, 24, 113, 17, L"横に合わせる(&W)", nullptr, P, nullptr, cfNone},
    {K::RadioButton, "HeightRadioBtn", "AdjustGroup", 7, 49, 113, 17, L"縦に合わせる(&H)", nullptr, P, nullptr, cfNone},
    {K::GroupBox, "SusieGroup", "OctreeP", 20, 195, 450, 55, nullptr, L"Susie 32bit plug-inが存在するディレクトリを指定してください。", P, nullptr, cfNone},
    {K::Label, "Label8", "SusieGroup", 10, 24, 0, 0, L"Susie Plug-inﾃﾞｨﾚｸﾄﾘの指定(&S):", nullptr, P, nullptr, cfAutoSize},
    {K::Edit, "SusieDireEdit", "SusieGroup", 195, 20, 176, 21, nullptr, nullptr, P, nullptr, cfNone},
    {K::GlyphButton, "SusieDirBroBtn", "SusieGroup", 378, 13, 62, 36, L"参照(&B)", nullptr, &kSmallButtonFont,
     L"GLYPH_BROWSE", cfGlyphLeft},

    // "その他"
    {K::Bevel, "Bevel5", "Other", 20, 10, 450, 181, nullptr, nullptr, P, nullptr, cfSunken},
    {K::GroupBox, "OriginGroup", "Other", 40, 25, 200, 150, L"壁紙の原点調整", nullptr, P, nullptr, cfNone},
    {K::Label, "Label9", "OriginGroup", 15, 35, 0, 0, L"横(&X)：", nullptr, P, nullptr, cfAutoSize},
    {K::SpinEdit, "OriginSpinX", "OriginGroup", 65, 27, 76, 24, nullptr, nullptr, &kSpinFont, nullptr, cfNone},
    {K::Label, "Label10", "OriginGroup", 150, 37, 0, 0, L"ﾋﾟｸｾﾙ", nullptr, P, nullptr, cfAutoSize},
    {K::Label, "Label11", "OriginGroup", 15, 70, 0, 0, L"縦(&Y)：", nullptr, P, nullptr, cfAutoSize},
    {K::SpinEdit, "OriginSpinY", "OriginGroup", 65, 67, 76, 24, nullptr, nullptr, &kSpinFont, nullptr, cfNone},
    {K::Label, "Label12", "OriginGroup", 150, 77, 0, 0, L"ﾋﾟｸｾﾙ", nullptr, P, nullptr, cfAutoSize},
    {K::Label, "Label13", "OriginGroup", 16, 112, 0, 0, L"ﾃﾞﾌｫﾙﾄに戻す:", nullptr, P, nullptr, cfAutoSize},
    {K::GlyphButton, "OriginBitBtn", "OriginGroup", 115, 104, 66, 32, L"戻す(&R)", nullptr, &kSmallButtonFont,
     L"GLYPH_RESET", cfGlyphLeft},
    {K::GroupBox, "WindowGroup", "Other", 255, 25, 200, 150, L"ｳｨﾝﾄﾞｳ・ｱｲｺﾝ", nullptr, P, nullptr, cfNone},
    {K::Label, "Label14", "WindowGroup", 25, 25, 0, 0, L"次回起動時から有効", nullptr, P, nullptr, cfAutoSize},
    {K::Label, "Label15", "WindowGroup", 25, 47, 0, 0, L"になります。", nullptr, P, nullptr, cfAutoSize},
    {K::CheckBox, "DropChkBox", "WindowGroup", 15, 75, 151, 26, L"ﾄﾞﾛｯﾌﾟして壁紙変更(&D)", nullptr, P, nullptr, cfNone},
    {K::CheckBox, "PosChkBox", "WindowGroup", 15, 109, 166, 24, L"常に前面に表示する(&T)", nullptr, P, nullptr, cfNone},
    {K::GroupBox, "DirGroup", "Other", 20, 195, 450, 55, nullptr, L"起動時に表示したいﾃﾞｨﾚｸﾄﾘを設定してください。", P, nullptr, cfNone},
    {K::Label, "Label16", "DirGroup", 10, 22, 0, 0, L"起動ﾃﾞｨﾚｸﾄﾘの指定(&Y):", nullptr, P, nullptr, cfAutoSize},
    {K::Edit, "FstWPDirEdit", "DirGroup", 145, 19, 226, 21, nullptr, nullptr, P, nullptr, cfNone},
    {K::GlyphButton, "FstDirBroBtn", "DirGroup", 380, 14, 62, 36, L"参照(&B)", nullptr, &kSmallButtonFont,
     L"GLYPH_BROWSE", cfGlyphLeft},

    // "ﾓﾆﾀ"
    {K::Custom, "MonitorMap", "MonitorP", 20, 10, 450, 181, nullptr, L"壁紙を変更するﾓﾆﾀをｸﾘｯｸで選択", P, nullptr, cfNone},
    {K::CheckBox, "MonitorChkBox", "MonitorP", 25, 200, 250, 21, L"モニタごとに別の壁紙にする", nullptr, P, nullptr, cfNone},
    {K::Label, "MonitorNote", "MonitorP", 25, 230, 440, 16, L"", nullptr, P, nullptr, cfNone},

    {K::Button, "OKBtn", nullptr, 249, kStripTop + 2, 74, 24, L"OK", nullptr, nullptr, nullptr, cfNone},
    {K::Button, "CancelBtn", nullptr, 333, kStripTop + 2, 74, 24, L"ｷｬﾝｾﾙ", nullptr, nullptr, nullptr, cfNone},
    {K::Button, "HelpBtn", nullptr, 417, kStripTop + 2, 73, 24, L"ﾍﾙﾌﾟ(&H)", nullptr, nullptr, nullptr, cfNone},
};
// clang-format on

} // namespace pelmira::configdlg
