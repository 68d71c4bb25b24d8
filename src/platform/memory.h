#pragma once

namespace platform {

// Has every memory block of 256 KB or more taken from the system on its own and given back as
// soon as it is freed. Otherwise the C library raises that size each time it gives back a larger
// block, and keeps smaller blocks for reuse once freed: a start of 100,000 games frees many
// blocks of about a megabyte on several threads, and each one kept counts in the program's
// memory until it ends (1-2 MB at the peak). Called first thing in main().
void giveLargeBlocksBack();

} // namespace platform
