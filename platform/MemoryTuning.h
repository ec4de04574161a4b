// How the process's allocator treats the large blocks that decoding one file after another
// takes and gives back.
#pragma once

// Keeps large freed blocks in the process for the next file instead of handing them back to
// the system, so the next file's buffers need no fresh pages. Peak memory stays that of the
// largest file. Safe to call any number of times; only the first call acts.
void KeepFreedMemoryForReuse();
