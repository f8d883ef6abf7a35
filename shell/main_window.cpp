#include "shell/main_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QLabel>
#include <QMenuBar>
#include <QPixmap>
#include <QStatusBar>
#include <QToolBar>
#include <QWindow>
#include <utility>

#include "engine/settings.h"
#include "platform/drive_description.h"
#include "platform/settings_location.h"
#include "res/command_ids.h"
#include "res/menu.h"
#include "res/string_table.h"
#include "res/texts/window_texts.h"
#include "res/toolbar.h"
#include "shell/about_dialog.h"
#include "shell/dialog_questions.h"
#include "shell/lock_key_indicators.h"
#include "shell/transfer_view.h"
#include "shell/verb_keys.h"

namespace torvanik {
namespace {

constexpr int kOuterWidth = 512;
constexpr int kOuterHeight = 450;

QString Text(std::string_view utf8) {
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

}  // namespace

MainWindow::MainWindow(DriveMap& drives, const QString& caption, std::unique_ptr<FileSystem> files)
    : drives_(drives),
      document_{{}, {}, RecordStore(StateFolder())},
      files_(files ? std::move(files) : std::make_unique<FileSystem>()) {
    LoadSettings(document_.drive);
    drives_.settings().parityDisks = LoadParityDisks(drives_.settings().parityDisks);
    setWindowTitle(caption);
}

// The view goes first: its runner waits for the work it started (a drive's tooltip, say),
// which uses the files, the questions and the document that go after it.
MainWindow::~MainWindow() {
    delete std::exchange(view_, nullptr);
}

bool MainWindow::Create() {
    resize(kOuterWidth, kOuterHeight);
    return MakeChildren();
}

void MainWindow::ApplyOuterSize() {
    if (windowHandle() == nullptr || windowState() != Qt::WindowNoState) {
        return;
    }
    const QMargins frame = windowHandle()->frameMargins();
    if (sizedForFrame_ == frame) {
        return;
    }
    sizedForFrame_ = frame;
    resize(kOuterWidth - frame.left() - frame.right(), kOuterHeight - frame.top() - frame.bottom());
}

// The window manager's frame shows in the next move or resize it reports.
void MainWindow::moveEvent(QMoveEvent* event) {
    QMainWindow::moveEvent(event);
    if (sizedForFrame_) {
        ApplyOuterSize();
    }
}

void MainWindow::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    if (sizedForFrame_) {
        ApplyOuterSize();
    }
}

// A close request waits for the command under way. During a disk step it asks first: JA
// stops the step at its next safe point and closes once it has ended, NEI lets it run on
// and keeps the window.
void MainWindow::closeEvent(QCloseEvent* event) {
    if (view_ == nullptr || !view_->InCommand()) {
        QMainWindow::closeEvent(event);
        return;
    }
    event->ignore();
    if (!view_->InDiskStep()) {
        closeHeld_ = true;
        return;
    }
    if (closeHeld_ || askingToStop_) {
        return;
    }
    askingToStop_ = true;
    const bool stop = questions_->ConfirmAbort();
    askingToStop_ = false;
    if (stop) {
        view_->StopDiskStep();
        closeHeld_ = true;
    }
}

bool MainWindow::MakeChildren() {
    questions_ = std::make_unique<DialogQuestions>(this, drives_);
    view_ = new TransferView(this, document_.transfer, document_.drive, *questions_, *files_,
                             drives_, &document_.records);
    view_->SetCommandEnded([this] {
        if (std::exchange(closeHeld_, false)) {
            close();
        }
    });
    setCentralWidget(view_);
    MakeActions();
    if (!MakeMenu()) {
        whyNotCreated_ = kMenuCommandMissing;
    } else if (!MakeToolBar()) {
        whyNotCreated_ = kToolBarImageUnreadable;
    } else if (!MakeStatusBar()) {
        whyNotCreated_ = kStatusBarNotMade;
    }
    return whyNotCreated_.empty();
}

QAction* MainWindow::action(int command) const {
    const auto found = actions_.find(command);
    return found != actions_.end() ? found->second : nullptr;
}

void MainWindow::MakeActions() {
    const std::map<int, std::function<void()>> handlers = {
        {ID_SPLIT_OUT, [this] { view_->OnSplitOut(); }},
        {ID_JOIN_IN, [this] { view_->OnJoinIn(); }},
        {ID_DISK_READY, [this] { view_->OnDiskReady(); }},
        {ID_CLEAN_DISK, [this] { view_->OnCleanDisk(); }},
        {ID_SELECT_DRIVE, [this] { view_->OnSelectDrive(); }},
        {ID_SHOW_HELP, [this] { view_->OnShowHelp(); }},
        {ID_APP_ABOUT, [this] { ShowAboutBox(this); }},
        {ID_APP_EXIT, [this] { close(); }},
    };
    for (const auto& [command, handler] : handlers) {
        auto* action = new QAction(this);
        action->setStatusTip(Text(PromptOf(command)));
        action->setToolTip(Text(TooltipOf(command)));
        action->setIconVisibleInMenu(false);
        action->setData(command);
        GiveKey(*this, *action, command);
        connect(action, &QAction::triggered, this, handler);
        actions_[command] = action;
    }
    for (const int command : {ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR}) {
        auto* action = new QAction(this);
        action->setStatusTip(Text(PromptOf(command)));
        action->setCheckable(true);
        action->setChecked(true);
        actions_[command] = action;
    }
    MakeParityAction();
}

// The next UT writes one parity disk when checked; the choice is kept for the next start.
void MainWindow::MakeParityAction() {
    auto* parity = new QAction(this);
    parity->setStatusTip(Text(PromptOf(ID_PARITY_DISK)));
    parity->setCheckable(true);
    parity->setChecked(drives_.settings().parityDisks > 0);
    connect(parity, &QAction::toggled, this, [this](bool on) {
        drives_.settings().parityDisks = on ? 1 : 0;
        SaveParityDisks(drives_.settings().parityDisks);
    });
    actions_[ID_PARITY_DISK] = parity;
}

bool MainWindow::MakeMenu() {
    for (const MenuPopup& popup : MainMenu()) {
        QMenu* menu = menuBar()->addMenu(Text(popup.label));
        for (const MenuItem& item : popup.items) {
            if (item.label == nullptr) {
                menu->addSeparator();
                continue;
            }
            QAction* command = action(item.command);
            if (command == nullptr) {
                return false;
            }
            command->setText(Text(item.label));
            menu->addAction(command);
        }
    }
    return true;
}

bool MainWindow::MakeToolBar() {
    const QPixmap bitmap(ToolbarBitmap());
    if (bitmap.isNull()) {
        return false;
    }
    toolBar_ = new QToolBar(this);
    toolBar_->setObjectName("toolbar");
    toolBar_->setMovable(false);
    toolBar_->setFloatable(false);
    toolBar_->setIconSize(QSize(kToolbarButtonWidth, kToolbarButtonHeight));
    toolBar_->setToolButtonStyle(Qt::ToolButtonIconOnly);
    toolBar_->setContextMenuPolicy(Qt::PreventContextMenu);
    int image = 0;
    for (const int command : ToolbarSlots()) {
        if (command == ID_SEPARATOR) {
            toolBar_->addSeparator();
            continue;
        }
        QAction* button = action(command);
        button->setIcon(QIcon(bitmap.copy(image++ * kToolbarButtonWidth, 0, kToolbarButtonWidth,
                                          kToolbarButtonHeight)));
        toolBar_->addAction(button);
    }
    addToolBar(Qt::TopToolBarArea, toolBar_);
    OpenToKeyboard(*toolBar_);
    QAction* toggle = action(ID_VIEW_TOOLBAR);
    connect(toggle, &QAction::toggled, toolBar_, &QToolBar::setVisible);
    connect(toolBar_, &QToolBar::visibilityChanged, toggle, &QAction::setChecked);
    return true;
}

bool MainWindow::MakeStatusBar() {
    QStatusBar* bar = statusBar();
    bar->setSizeGripEnabled(true);
    // Shown whenever no prompt is: the idle text of the message pane.
    bar->addWidget(new QLabel(Text(LoadString(IDS_IDLE_MESSAGE)), bar), 1);
    // A folder drive takes no disk changes of its own (its files are moved out by hand),
    // so the window says which folder it is. A long path is cut, and whole in the tooltip.
    if (const std::string note = FolderDrivesNote(drives_); !note.empty()) {
        auto* label = new QLabel(Text(note), bar);
        label->setObjectName("folderDrives");
        label->setToolTip(label->text());
        label->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
        bar->addWidget(label, 2);
    }
    // A screen reader reads the message pane, which the bar paints, by the bar's name.
    connect(bar, &QStatusBar::messageChanged, bar, &QWidget::setAccessibleName);
    indicators_ = new LockKeyIndicators(bar);
    QAction* toggle = action(ID_VIEW_STATUS_BAR);
    connect(toggle, &QAction::toggled, bar, &QStatusBar::setVisible);
    return true;
}

}  // namespace torvanik
