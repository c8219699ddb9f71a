#pragma once

// Large blocks come straight from the system and go back to it when freed. The in-memory sets
// of a large year grow by doubling, and a search frees one set before it reads the next; left
// to itself the C library would keep every block outgrown or freed in its heap, so the
// program would stay at its largest size. Call once, first thing in main.
void ReturnLargeBlocksToTheSystem();
