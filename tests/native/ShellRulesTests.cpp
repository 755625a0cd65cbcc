#include "shell/MsgDlgRules.h"
#include "shell/TrayIconRules.h"

#include <gtest/gtest.h>

using namespace pelmira;

namespace {

std::vector<std::wstring> Captions(unsigned buttons) {
    std::vector<std::wstring> out;
    for (const MsgButton& b : ButtonsInOrder(buttons))
        out.push_back(b.caption);
    return out;
}

} // namespace

TEST(MessageDialog, ButtonsKeepTheirFixedOrderAndResults) {
    EXPECT_EQ(Captions(mbHelp | mbAll | mbOK | mbYes),
              (std::vector<std::wstring>{L"はい(&Y)", L"OK", L"すべて", L"ﾍﾙﾌﾟ(&H)"}));
    EXPECT_EQ(Captions(mbIgnore | mbRetry | mbAbort),
              (std::vector<std::wstring>{L"中止(&A)", L"再試行(&R)", L"無視(&I)"}));
    const auto all = ButtonsInOrder(0x1FF);
    ASSERT_EQ(all.size(), 9u);
    const int results[] = {6, 7, 1, 2, 3, 4, 5, 8, 0};
    for (std::size_t i = 0; i < all.size(); ++i)
        EXPECT_EQ(all[i].result, results[i]) << i;
    EXPECT_EQ(all[8].id, 9); // help: a control, no result
    EXPECT_EQ(std::wstring(all[3].caption), L"ｷｬﾝｾﾙ");
    EXPECT_EQ(std::wstring(all[1].caption), L"いいえ(&N)");
    EXPECT_TRUE(ButtonsInOrder(0).empty());
}

TEST(MessageDialog, DefaultAndCancelButtons) {
    EXPECT_EQ(DefaultButtonId(mbOK | mbYes | mbRetry), mrOk);
    EXPECT_EQ(DefaultButtonId(mbYes | mbNo), mrYes);
    EXPECT_EQ(DefaultButtonId(mbAbort | mbRetry | mbIgnore), mrRetry);
    EXPECT_EQ(DefaultButtonId(mbNo | mbAll), 0);
    EXPECT_EQ(CancelResult(mbYes | mbNo | mbCancel), mrCancel);
    EXPECT_EQ(CancelResult(mbYes | mbNo), mrNo);
    EXPECT_EQ(CancelResult(mbOK), mrOk);
    EXPECT_EQ(CancelResult(mbAbort | mbRetry | mbIgnore), mrNone);
}

TEST(MessageDialog, CaptionsAndSoundsByKind) {
    EXPECT_EQ(std::wstring(CaptionOf(TMsgDlgType::mtWarning)), L"警告");
    EXPECT_EQ(std::wstring(CaptionOf(TMsgDlgType::mtError)), L"ｴﾗｰ");
    EXPECT_EQ(std::wstring(CaptionOf(TMsgDlgType::mtInformation)), L"情報");
    EXPECT_EQ(std::wstring(CaptionOf(TMsgDlgType::mtConfirmation)), L"確認");
    EXPECT_EQ(CaptionOf(TMsgDlgType::mtCustom), nullptr);
    EXPECT_EQ(SoundOf(TMsgDlgType::mtWarning), 48u);
    EXPECT_EQ(SoundOf(TMsgDlgType::mtError), 16u);
    EXPECT_EQ(SoundOf(TMsgDlgType::mtInformation), 64u);
    EXPECT_EQ(SoundOf(TMsgDlgType::mtConfirmation), 32u);
    EXPECT_EQ(SoundOf(TMsgDlgType::mtCustom), 0u);
}

TEST(MessageDialog, LayoutInDialogUnits) {
    // Base units of 6 by 12 pixels: a horizontal unit is 1.5 pixels, a vertical one too.
    MsgLayoutInput in;
    in.baseUnitX = 6;
    in.baseUnitY = 12;
    in.hasIcon = true;
    in.textWidth = 200;
    in.textHeight = 12;
    in.buttonCount = 1;
    const MsgLayout one = LayOutMessage(in);
    EXPECT_EQ(one.icon, (MsgRect{12, 12, 44, 44}));
    EXPECT_EQ(one.text, (MsgRect{59, 12, 259, 24})); // 10 units (15 px) right of the icon
    EXPECT_EQ(one.clientWidth, 259 + 12);
    ASSERT_EQ(one.buttons.size(), 1u);
    // 75 x 21 pixels, 15 below the icon (taller than the text), centred.
    EXPECT_EQ(one.buttons[0], (MsgRect{98, 59, 173, 80}));
    EXPECT_EQ(one.clientHeight, 80 + 12);

    // A tall text without an icon, three buttons wider than the text.
    in.hasIcon = false;
    in.textWidth = 40;
    in.textHeight = 60;
    in.buttonCount = 3;
    const MsgLayout three = LayOutMessage(in);
    EXPECT_EQ(three.text, (MsgRect{12, 12, 52, 72}));
    EXPECT_EQ(three.clientWidth, 3 * 75 + 2 * 6 + 2 * 12);
    EXPECT_EQ(three.buttons[0].top, 72 + 15);
    EXPECT_EQ(three.buttons[0].left, 12);
    EXPECT_EQ(three.buttons[2].right, three.clientWidth - 12);
    EXPECT_EQ(three.buttons[1].left - three.buttons[0].right, 6);
}

TEST(MessageDialog, WrapAndPosition) {
    EXPECT_EQ(WrapWidth(1024), 512);
    EXPECT_EQ(BoxPosition(-1, 1024, 200), 412);
    EXPECT_EQ(BoxPosition(100, 1024, 200), 100);
    EXPECT_EQ(BoxPosition(0, 1024, 200), 0);
}

TEST(TrayIconIds, NumbersAreReusedFromTheEnd) {
    TrayIconIds ids;
    EXPECT_EQ(ids.Allocate(), 1);
    EXPECT_EQ(ids.Allocate(), 2);
    ids.Release(2);
    EXPECT_EQ(ids.Allocate(), 2);
    ids.Release(1); // the last one still decides
    EXPECT_EQ(ids.Allocate(), 3);
}

TEST(TrayIconIds, NoNumberPast999) {
    TrayIconIds ids;
    for (int i = 1; i <= 999; ++i)
        ASSERT_EQ(ids.Allocate(), i);
    EXPECT_EQ(ids.Allocate(), 0);
    ids.Release(999);
    EXPECT_EQ(ids.Allocate(), 999);
}

TEST(TrayIconTip, CutTo62BytesWithoutSplittingACharacter) {
    const std::string seventy(70, 'a');
    EXPECT_EQ(CutTip(seventy), std::string(62, 'a'));
    EXPECT_EQ(CutTip("TipHelp"), "TipHelp");
    // 61 single bytes then a double-byte character: it would end at byte 63.
    const std::string split = std::string(61, 'a') + "\x95\x5C" + "b";
    EXPECT_EQ(CutTip(split), std::string(61, 'a'));
    const std::string whole = std::string(60, 'a') + "\x95\x5C" + "b";
    EXPECT_EQ(CutTip(whole), std::string(60, 'a') + "\x95\x5C");
}

TEST(TrayIconTip, FlagsTellWhetherThereIsATip) {
    EXPECT_EQ(TrayIconFlags("TipHelp"), 7u);
    EXPECT_EQ(TrayIconFlags(""), 3u);
}
