// Until the document's own command handler is linked in, its commands are
// reported as not handled (they do nothing). The document layer's definition
// replaces this weak one; remove this file when it is merged.
#include "project/QVNDoc.h"

__attribute__((weak)) bool CQVNDoc::OnCommand(int) {
    return false;
}
