#include <gtest/gtest.h>

#include <string_view>
#include <vector>

#include "platform/cp1252.h"
#include "res/texts/drive_texts.h"
#include "res/texts/option_texts.h"
#include "res/texts/painted_texts.h"
#include "res/texts/reason_texts.h"
#include "res/texts/terminal_texts.h"
#include "res/texts/window_texts.h"

namespace torvanik {
namespace {

bool IsUtf8(std::string_view text) {
    for (std::size_t pos = 0; pos < text.size();) {
        if (cp1252_detail::DecodeUtf8(text, pos) < 0) {
            return false;
        }
    }
    return true;
}

// Every text of the catalogue a translator reads, the reasons by their keys.
std::vector<std::string_view> CatalogueTexts() {
    std::vector<std::string_view> texts = {image_reason::kMissing,
                                           image_reason::kNotRegular,
                                           image_reason::kNotFat,
                                           image_reason::kTruncated,
                                           image_reason::kUnreadable,
                                           image_reason::kNotCreated,
                                           image_reason::kNotWritten,
                                           image_reason::kReadBackDiffers,
                                           image_reason::kNoStaging,
                                           image_reason::kBeyondImages,
                                           image_reason::kNoFolder,
                                           image_reason::kInUse,
                                           image_reason::kChanged,
                                           image_reason::kGone,
                                           image_reason::kMtoolsMissing,
                                           child_reason::kNoAnswerWithin,
                                           drive_text::kCouldNotEject,
                                           drive_text::kEjectByHand,
                                           drive_text::kUdisksMissing,
                                           option_text::kUnknown,
                                           cli::kUsage,
                                           cli::kHelp,
                                           cli::kLeadsTo,
                                           cli::kCanResume,
                                           cli::kNothingToResume,
                                           cli::kSameFailureAgain,
                                           cli::kDiskOfOtherSet,
                                           cli::kStoppedWithoutDisks,
                                           kSourcePickerTitle,
                                           kCleanUpPickerTitle,
                                           kDeleteSeveralQuestion,
                                           kWindowUsage,
                                           kNoDisplay,
                                           kToolBarImageUnreadable};
    for (int key = 0; key <= static_cast<int>(Reason::kParityOfAnotherSet); ++key) {
        texts.push_back(ReasonText(static_cast<Reason>(key)));
    }
    texts.insert(texts.end(), kNoticeTexts.begin(), kNoticeTexts.end());
    texts.insert(texts.end(), kPanelFormats.begin(), kPanelFormats.end());
    texts.insert(texts.end(), kPictureTexts.begin(), kPictureTexts.end());
    texts.insert(texts.end(), FileTypeFilters.begin(), FileTypeFilters.end());
    return texts;
}

TEST(TextsTest, EveryTextIsUtf8AndEveryReasonHasOne) {
    for (const std::string_view text : CatalogueTexts()) {
        EXPECT_TRUE(IsUtf8(text)) << text;
    }
    for (int key = 1; key <= static_cast<int>(Reason::kParityOfAnotherSet); ++key) {
        EXPECT_FALSE(ReasonText(static_cast<Reason>(key)).empty()) << key;
    }
}

// The canvas paints the catalogue's letters as the Windows-1252 bytes its glyphs know.
TEST(TextsTest, PaintedTextsReachTheCanvasAsWindows1252) {
    static constexpr std::array<std::string_view, 2> kTexts = {"På nytt", "før né"};
    static constexpr auto kBytes = ToCp1252<Cp1252Room(kTexts)>(kTexts);
    EXPECT_EQ(kBytes[0], "P\xE5 nytt");
    EXPECT_EQ(kBytes[1], "f\xF8r n\xE9");
    EXPECT_EQ(kBytes[1].data()[kBytes[1].size()], '\0');
}

}  // namespace
}  // namespace torvanik
