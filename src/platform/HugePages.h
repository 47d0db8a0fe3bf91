// Huge pages for the heap. Reading a large bibliography touches hundreds of
// megabytes of new memory, and where each 4 KB page costs a fault of its own
// (virtual machines make faults dear) that costs more than the reading. The
// C library asks the system for 2 MB pages only when told so before the
// program starts, so the program starts itself once more with that setting.
#pragma once

namespace qvn {

// Starts the program again with the heap in huge pages, unless it is so
// already, the system gives none, or this C library cannot; returns only when
// the program goes on as it is. Call first thing in main(), before any thread
// or file exists.
void UseHugePagesForTheHeap(char** argv);

} // namespace qvn
