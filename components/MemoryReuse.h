#pragma once

// Keeps freed large blocks (window images, off-screen bitmaps of about a
// megabyte) in the heap for the next window instead of giving them back to
// the system at once: every fresh block costs a page fault per 4 KiB when it
// is first drawn on, which dominates building a large map window.
void KeepLargeBlocksForReuse();
