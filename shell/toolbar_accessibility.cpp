#include "shell/toolbar_accessibility.h"

#include <QAccessibleWidget>
#include <QAction>
#include <QToolButton>

#include "res/verbs.h"

namespace torvanik {
namespace {

class VerbButtonInterface : public QAccessibleWidget {
  public:
    VerbButtonInterface(QToolButton* button, const Verb& verb)
        : QAccessibleWidget(button, QAccessible::Button), verb_(verb) {}

    QString text(QAccessible::Text kind) const override {
        switch (kind) {
            case QAccessible::Name:
                return QString::fromUtf8(verb_.word);
            case QAccessible::Accelerator:
                return Key();
            default:
                return QAccessibleWidget::text(kind);
        }
    }
    QStringList actionNames() const override {
        return QStringList(pressAction()) + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& actionName) override {
        if (actionName == pressAction()) {
            static_cast<QToolButton*>(widget())->click();
            return;
        }
        QAccessibleWidget::doAction(actionName);
    }
    QStringList keyBindingsForAction(const QString& actionName) const override {
        if (actionName == pressAction() && !Key().isEmpty()) {
            return {Key()};
        }
        return QAccessibleWidget::keyBindingsForAction(actionName);
    }

  private:
    QString Key() const {
        const QAction* action = static_cast<QToolButton*>(widget())->defaultAction();
        return action != nullptr ? action->shortcut().toString() : QString();
    }

    const Verb& verb_;
};

}  // namespace

QAccessibleInterface* MakeToolButtonInterface(QObject* object) {
    auto* button = qobject_cast<QToolButton*>(object);
    if (button == nullptr || button->defaultAction() == nullptr) {
        return nullptr;
    }
    bool isCommand = false;
    const int command = button->defaultAction()->data().toInt(&isCommand);
    const Verb* verb = isCommand ? VerbOf(command) : nullptr;
    return verb != nullptr ? new VerbButtonInterface(button, *verb) : nullptr;
}

}  // namespace torvanik
