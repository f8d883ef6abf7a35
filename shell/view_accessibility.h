#pragma once

#include <array>
#include <chrono>
#include <functional>

#include "screen/screen_text.h"

class QAccessibleEvent;
class QWidget;

// The painted view for those who cannot see it: its interface for screen readers holds one
// part for each thing the picture shows, as text, and the bars as values; what changes is
// announced.
namespace torvanik {

// The view's parts, in reading order; each is a child of the view's interface.
enum class ViewPart {
    kModeLabel,
    kDriveField,
    kIntroduction,
    kAbout,
    kHelp,
    kNotice,
    kDiskProgress,
    kFreeSpace,
    kDiskBar,
    kTotalProgress,
    kFileLength,
    kTotalBar,
    kPath,
};
inline constexpr int kViewPartCount = static_cast<int>(ViewPart::kPath) + 1;

// Lets the toolkit find the view's interface and the toolbar buttons' (named by their
// verbs, with their keys); once per program, before any is asked for.
void InstallViewAccessibility();

// Tells screen readers what changed in the picture since it last looked: a notice, the disk
// number or a panel text at once, the bars at most once per `interval`; a bar change held
// back is told at the next change that is due, or at Flush.
class ViewAnnouncer {
  public:
    using Clock = std::function<std::chrono::steady_clock::time_point()>;
    using Sink = std::function<void(QAccessibleEvent& event)>;

    ViewAnnouncer(QWidget& view, std::chrono::milliseconds interval);

    void Update(const ScreenText& text);
    // The next notice comes from the engine: it is told even when the box said it already.
    void NoticeComing() { noticeComing_ = true; }
    void Flush();
    // For tests: the time as the announcer reads it, and where its events go instead of
    // the toolkit.
    void SetClock(Clock now) { now_ = std::move(now); }
    void SetSink(Sink sink) { sink_ = std::move(sink); }

  private:
    void Tell(QAccessibleEvent&& event, int part);
    void TellBars();

    QWidget& view_;
    std::chrono::milliseconds interval_;
    Clock now_ = std::chrono::steady_clock::now;
    Sink sink_;
    ScreenText told_;
    std::array<int, 2> barsNow_{};
    bool barsHeld_ = false;
    bool noticeComing_ = false;
    std::chrono::steady_clock::time_point barsToldAt_{};
};

}  // namespace torvanik
