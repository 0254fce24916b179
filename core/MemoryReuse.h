// How the program's freed memory is kept. A run allocates and frees tables of tens of megabytes
// step after step and pass after pass; by default the C library hands a large block straight back
// to the system when it is freed and takes the next one afresh, and on the virtual machines
// inventories often run on each page the system hands out again costs some fifteen microseconds.
#pragma once

namespace orr {

// Keeps freed memory in the process for the next allocation instead of giving it back to the
// system, within bounds (blocks up to 32 MiB come from the process's heap; up to 256 MiB of free
// heap are kept). Called once, first thing in main(); does nothing where the C library offers no
// such setting.
void keepFreedMemoryForReuse();

}  // namespace orr
