#include "shell/verb_keys.h"

#include <QAction>
#include <QKeySequence>
#include <QToolBar>
#include <QToolButton>

#include "res/command_ids.h"
#include "res/string_table.h"
#include "res/verbs.h"

namespace torvanik {
namespace {

QString Utf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

void GiveKey(QWidget& window, QAction& action, int command) {
    const Verb* verb = VerbOf(command);
    if (verb == nullptr || verb->key == nullptr) {
        return;
    }
    const QKeySequence key(QString::fromLatin1(verb->key));
    action.setShortcut(key);
    action.setShortcutContext(Qt::WindowShortcut);
    window.addAction(&action);
    const QString tip = Utf8(TooltipOf(command)).trimmed();
    action.setToolTip(QStringLiteral("%1 (%2)").arg(tip, key.toString(QKeySequence::NativeText)));
}

void OpenToKeyboard(QToolBar& bar) {
    bar.setAccessibleName(Utf8(TooltipOf(ID_VIEW_TOOLBAR)));
    for (QToolButton* button : bar.findChildren<QToolButton*>()) {
        if (button->defaultAction() != nullptr) {
            button->setFocusPolicy(Qt::TabFocus);
        } else {
            button->setAccessibleName(QString::fromUtf8(kMoreButtonsName));
        }
    }
}

}  // namespace torvanik
