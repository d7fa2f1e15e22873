// keep_freed_memory_for_reuse: the allocator setting for a process that rebuilds display lists;
// prefer_large_pages_for_tables: large pages for the model, import and drawing tables.
#pragma once

// A rebuild frees the GL driver's display-list storage and allocates it again, megabytes for a
// large model. Handed back to the system, every page of it faults in anew at the next rebuild,
// which on a virtual machine costs about as much as the compile itself. Kept in the process,
// the blocks are reused. Call once at start.
void keep_freed_memory_for_reuse();

// Asks for large pages under the model store, the trueSpace import tables and the draw tables,
// which a load or a rebuild fills over hundreds of small pages. Call once at start, before
// anything touches them.
void prefer_large_pages_for_tables();
