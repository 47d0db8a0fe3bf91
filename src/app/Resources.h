// Registers the images and help pages compiled into quorvane_gui (a static
// library drops them unless they are asked for).
#pragma once

namespace qvn {
void InitResources();
}
