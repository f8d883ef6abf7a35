#pragma once

class QAccessibleInterface;
class QObject;

namespace torvanik {

// The interface of a toolbar button that runs a verb: named by the verb's word, its key as
// the key binding of its press, its tooltip as its description. Null for any other object.
QAccessibleInterface* MakeToolButtonInterface(QObject* object);

}  // namespace torvanik
