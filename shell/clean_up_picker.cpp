#include "shell/clean_up_picker.h"
#include "res/texts/window_texts.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFileSystemModel>
#include <QListView>
#include <QMessageBox>
#include <QMouseEvent>
#include <QRubberBand>
#include <QShortcut>
#include <QTreeView>

namespace torvanik {
namespace {

// Right-button framing on one of the picker's two file views (list and details).
class RightButtonFrame : public QObject {
  public:
    explicit RightButtonFrame(QAbstractItemView& view)
        : QObject(&view), view_(view), band_(new QRubberBand(QRubberBand::Rectangle, &view)) {
        view.viewport()->installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject* /*watched*/, QEvent* event) override {
        switch (event->type()) {
            case QEvent::MouseButtonPress:
            case QEvent::MouseButtonDblClick:
            case QEvent::MouseMove:
            case QEvent::MouseButtonRelease:
                return OnMouse(*static_cast<QMouseEvent*>(event));
            case QEvent::ContextMenu:
                // The toolkit opens it at the press; here it comes at a release without drag.
                return static_cast<QContextMenuEvent*>(event)->reason() == QContextMenuEvent::Mouse;
            default:
                return false;
        }
    }

  private:
    bool OnMouse(const QMouseEvent& event) {
        const QPoint at = event.position().toPoint();
        if (event.type() == QEvent::MouseMove) {
            if (!pressed_ || !(event.buttons() & Qt::RightButton)) {
                return false;
            }
            if (!band_->isVisible() &&
                (at - origin_).manhattanLength() >= QApplication::startDragDistance()) {
                band_->show();
            }
            if (band_->isVisible()) {
                Frame(QRect(origin_, at).normalized());
            }
            return true;
        }
        if (event.button() != Qt::RightButton) {
            return false;
        }
        if (event.type() == QEvent::MouseButtonPress) {
            pressed_ = true;
            origin_ = at;
        } else if (event.type() == QEvent::MouseButtonRelease && std::exchange(pressed_, false)) {
            if (band_->isVisible()) {
                band_->hide();
            } else {
                SelectUnder(at);
                emit view_.customContextMenuRequested(at);
            }
        }
        return true;
    }

    // Selects the files whose rows the frame touches, and those alone.
    void Frame(const QRect& frame) {
        band_->setGeometry(frame.translated(view_.viewport()->pos()));
        const bool wholeRows = qobject_cast<QTreeView*>(&view_) != nullptr;
        const QModelIndex root = view_.rootIndex();
        QItemSelection framed;
        for (int row = 0; row < view_.model()->rowCount(root); ++row) {
            const QModelIndex index = view_.model()->index(row, 0, root);
            QRect item = view_.visualRect(index);
            if (wholeRows) {
                item.setLeft(0);
                item.setRight(view_.viewport()->width());
            }
            if (item.intersects(frame)) {
                framed.select(index, index);
            }
        }
        view_.selectionModel()->select(
            framed, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    }

    // A right click on a file outside the selection selects that file first.
    void SelectUnder(QPoint at) {
        const QModelIndex index = view_.indexAt(at);
        if (index.isValid() && !view_.selectionModel()->isSelected(index)) {
            view_.selectionModel()->setCurrentIndex(
                index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        }
    }

    QAbstractItemView& view_;
    QRubberBand* band_;
    QPoint origin_;
    bool pressed_ = false;
};

void DeleteSelected(QFileDialog& picker, QAbstractItemView& view, const FileRemover& remove) {
    auto* files = qobject_cast<QFileSystemModel*>(view.model());
    if (files == nullptr) {
        return;
    }
    QList<QPersistentModelIndex> chosen;
    for (const QModelIndex& index : view.selectionModel()->selectedRows()) {
        chosen.append(index);
    }
    if (chosen.isEmpty()) {
        return;
    }
    const QString question = chosen.size() == 1
                                 ? QFileDialog::tr("Are you sure you want to delete '%1'?")
                                       .arg(files->fileName(chosen[0]))
                                 : QString::fromUtf8(kDeleteSeveralQuestion).arg(chosen.size());
    if (QMessageBox::warning(&picker, QFileDialog::tr("Delete"), question,
                             QMessageBox::Yes | QMessageBox::No,
                             QMessageBox::No) != QMessageBox::Yes) {
        return;
    }
    QStringList paths;
    for (const QPersistentModelIndex& index : chosen) {
        paths << files->filePath(index);
    }
    const QStringList kept = remove(paths);
    if (!kept.isEmpty()) {
        QMessageBox::warning(&picker, QFileDialog::tr("Delete"),
                             QString::fromUtf8(kNotDeleted).arg(kept.join('\n')));
    }
}

}  // namespace

QStringList RemoveFiles(const QStringList& paths) {
    QStringList kept;
    for (const QString& path : paths) {
        const QFileInfo file(path);
        if (!(file.isDir() && !file.isSymLink() ? QDir().rmdir(path) : QFile::remove(path))) {
            kept << file.fileName();
        }
    }
    return kept;
}

void ExtendCleanUpPicker(QFileDialog& picker, FileRemover remove) {
    auto* list = picker.findChild<QListView*>("listView");
    auto* details = picker.findChild<QTreeView*>("treeView");
    auto* deleteAction = picker.findChild<QAction*>("qt_delete_action");
    if (list == nullptr || details == nullptr || deleteAction == nullptr) {
        return;
    }
    new RightButtonFrame(*list);
    new RightButtonFrame(*details);
    // The menu's "Slett" and the Delete key of either view take every selected file at once.
    const auto deleteSelected = [&picker, list, remove = std::move(remove)] {
        DeleteSelected(picker, *list, remove);
    };
    QObject::disconnect(deleteAction, &QAction::triggered, nullptr, nullptr);
    QObject::connect(deleteAction, &QAction::triggered, &picker, deleteSelected);
    for (QAbstractItemView* view :
         {static_cast<QAbstractItemView*>(list), static_cast<QAbstractItemView*>(details)}) {
        for (QShortcut* key : view->findChildren<QShortcut*>(Qt::FindDirectChildrenOnly)) {
            QObject::disconnect(key, &QShortcut::activated, nullptr, nullptr);
            QObject::connect(key, &QShortcut::activated, &picker, deleteSelected);
        }
    }
}

}  // namespace torvanik
