// keep_freed_memory_for_reuse: the allocator setting for a process that rebuilds display lists.
#pragma once

// A rebuild frees the GL driver's display-list storage and allocates it again, megabytes for a
// large model. Handed back to the system, every page of it faults in anew at the next rebuild,
// which on a virtual machine costs about as much as the compile itself. Kept in the process,
// the blocks are reused. Call once at start.
void keep_freed_memory_for_reuse();
