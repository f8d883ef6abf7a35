#include <cstddef>
#include <cstdint>

#include "engine/transfer_report.h"
#include "screen/bar_rows.h"
#include "screen/presenter.h"
#include "screen/screen_colours.h"
#include "screen/screen_painter.h"
#include "screen_fixture.h"

namespace torvanik::testing {
namespace {

// A split of 150 000 bytes in chunks of 44 000: a pixel of the disk bar is 100 bytes, a
// pixel of the whole-file bar about 341.
constexpr std::int64_t kChunk = 44'000;
constexpr std::int64_t kFile = 150'000;

// The progress `inChunk` bytes into the chunk of disk `disk`.
ChunkProgress At(int disk, std::int64_t inChunk) {
    return {inChunk, kChunk, (disk - 1) * kChunk + inChunk, kFile};
}

TransferFacts SplitFacts() {
    TransferFacts facts;
    facts.armed = TransferKind::kSplit;
    facts.pathStrip = true;
    facts.path = "/tmp/torvanik/bilde.bmp";
    facts.driveRoot = "A:";
    facts.fileLength = kFile;
    facts.freeKB = 1423;
    return facts;
}

// What the screen shows while disk `disk` is written, or after it, with `notice`.
ScreenRecord DiskStep(int disk, int diskBar, int totalBar, const Notice& notice) {
    ScreenRecord expected;
    expected.facts = SplitFacts();
    expected.panelShown = true;
    expected.barsShown = true;
    expected.noticeShown = true;
    expected.lastNotice = notice;
    expected.panelDiskNumber = disk;
    expected.panelShowsFree = true;
    expected.barLength = {diskBar, totalBar};
    return expected;
}

// The presenter on the fixture's surface, after UT and a KLAR that filled disk 1.
class PresenterTest : public ScreenTest {
  protected:
    PresenterTest() {
        {
            const Presenter::Command ut(presenter);
            presenter.FactsChanged(SplitFacts());
            presenter.NoticeShown(NoticeId::kInsertDisk, 1);
            presenter.ScreenDrawn();
        }
        const Presenter::Command klar(presenter);
        BeginKlar(1);
        presenter.ChunkCopied(At(1, kChunk));
        EndKlar(1);
    }

    // The reports of a KLAR of the split up to its copy, and after it.
    void BeginKlar(int disk) {
        presenter.FactsChanged(SplitFacts());
        presenter.DiskStepBegun(disk);
        presenter.DiskProgressShown(disk, true);
        presenter.NoticeShown(NoticeId::kCopyingTo, disk);
    }
    void EndKlar(int disk) {
        presenter.NoticeShown(NoticeId::kInsertDiskAgain, disk + 1);
        presenter.ScreenDrawn();
    }

    // The length of bar `which` as its rows show it: the run of bar pixels from the bar's
    // left end, -1 when the rows differ.
    int BarPixels(int which) const {
        const BarRowRange rows = BarRows[static_cast<std::size_t>(which)];
        int length = -1;
        for (int y = rows.first; y < rows.end; ++y) {
            int run = 0;
            while (surface.At(kBarLeft + run, y) == kBar.Pixel()) {
                ++run;
            }
            if (length >= 0 && run != length) {
                return -1;
            }
            length = run;
        }
        return length;
    }

    // The picture a paint request draws of `expected`.
    static Surface Painted(ScreenRecord expected) {
        Surface painted(500, 312);
        painted.pixels.assign(painted.pixels.size(), kUntouched);
        Canvas alone(painted);
        DrawScreen(alone, expected);
        return painted;
    }

    Presenter presenter{CanvasSource(surface, [this] { ++presents; })};
};

// Each report of the copy draws at most once, where a bar grows by a pixel, and leaves the
// picture a paint request would draw of the same values.
TEST_F(PresenterTest, KlarDrawsTheBarsAsTheCopyGoes) {
    struct Point {
        const char* name;
        std::int64_t inChunk;
        int presents;
        int diskBar;
        int totalBar;
    };
    const Point points[] = {
        {"disk bar grows by one pixel", 100, 1, 1, 129},
        {"neither bar grows", 140, 0, 1, 129},
        {"whole-file bar grows alone", 148, 1, 1, 130},
        {"disk bar grows by two pixels", 260, 1, 3, 130},
        {"both grow at the chunk's end", kChunk, 1, 440, 258},
    };
    const Notice copying = NoticeOf(NoticeId::kCopyingTo, 2);
    EXPECT_EQ(surface.pixels,
              Painted(DiskStep(1, 440, 129, NoticeOf(NoticeId::kInsertDiskAgain, 2))).pixels);

    const Presenter::Command klar(presenter);
    BeginKlar(2);
    EXPECT_EQ(BarPixels(0), 0);
    EXPECT_EQ(BarPixels(1), 129);
    EXPECT_EQ(surface.pixels, Painted(DiskStep(2, 0, 129, copying)).pixels);
    for (const Point& point : points) {
        SCOPED_TRACE(point.name);
        presents = 0;
        presenter.ChunkCopied(At(2, point.inChunk));
        EXPECT_EQ(presents, point.presents);
        EXPECT_EQ(BarPixels(0), point.diskBar);
        EXPECT_EQ(BarPixels(1), point.totalBar);
        EXPECT_EQ(surface.pixels,
                  Painted(DiskStep(2, point.diskBar, point.totalBar, copying)).pixels);
    }

    presents = 0;
    EndKlar(2);
    EXPECT_EQ(presents, 2);
    EXPECT_EQ(surface.pixels,
              Painted(DiskStep(2, 440, 258, NoticeOf(NoticeId::kInsertDiskAgain, 3))).pixels);
}

}  // namespace
}  // namespace torvanik::testing
