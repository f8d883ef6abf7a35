#include "screen/screen_text.h"

#include <algorithm>

#include "platform/cp1252.h"
#include "screen/notice_box.h"
#include "screen/screen_lines.h"

namespace torvanik {
namespace {

std::vector<std::string> LinesOf(int first, int last) {
    std::vector<std::string> lines;
    for (int line = first; line <= last; ++line) {
        lines.emplace_back(ScreenLines[static_cast<std::size_t>(line)].text);
    }
    return lines;
}

}  // namespace

ScreenText TextOf(const ScreenRecord& record) {
    const TransferFacts& facts = record.facts;
    ScreenText text;
    // The help box covers the fixed texts, the panel those about the program.
    if (!record.helpShown) {
        text.introduction = LinesOf(kFirstIntroductionLine, kLastIntroductionLine);
        if (!record.panelShown) {
            text.about = LinesOf(kFirstAboutLine, kLastAboutLine);
        }
    }
    if (facts.armed != TransferKind::kNone) {
        const int label =
            facts.armed == TransferKind::kJoin ? kJoinModeLabelLine : kSplitModeLabelLine;
        text.modeLabel = ScreenLines[static_cast<std::size_t>(label)].text;
        if (facts.pathStrip) {
            text.path = Utf8ToCp1252(facts.path);
        }
    }
    text.driveLabel = ScreenLines[kDriveLabelLine].text;
    text.driveRoot = facts.driveRoot;
    if (record.helpShown) {
        text.help = LinesOf(kFirstHelpLine, kLastHelpLine);
    }
    text.panelShown = record.panelShown;
    if (record.panelShown) {
        text.panel = PanelLinesOf(record, record.panelShowsFree);
    }
    if (record.barsShown) {
        for (std::size_t bar = 0; bar < text.bars.size(); ++bar) {
            text.bars[bar] = std::clamp(record.barLength[bar], 0, kProgressSteps);
        }
    }
    if (record.noticeShown) {
        for (NoticeLine& line : NoticeLinesOf(record.lastNotice)) {
            text.notice.push_back(std::move(line.text));
        }
    }
    return text;
}

}  // namespace torvanik
