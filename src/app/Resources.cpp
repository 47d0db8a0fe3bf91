#include "app/Resources.h"

#include <QtGlobal>

static void InitQuorvaneResources() {
    Q_INIT_RESOURCE(quorvane);
}

namespace qvn {

void InitResources() {
    static const bool done = [] {
        InitQuorvaneResources();
        return true;
    }();
    (void)done;
}

} // namespace qvn
