#pragma once

#include <QString>

namespace torvanik {

// The document of the single-document window: it holds nothing and is never modified,
// so closing the window asks nothing. It gives the window its caption.
class CTorvanikDoc {
  public:
    bool OnNewDocument() { return true; }
    // The document-name field of the main frame's template string.
    QString Title() const;
};

}  // namespace torvanik
