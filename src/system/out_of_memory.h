// The end of the process when a small allocation fails. Small allocations
// (records, list entries, names) have no sensible way back; only the big ones
// (text builders, the XML arena, file buffers) report out of memory as a result.
#pragma once

// Windows: raises the system's no-memory exception (not continuable), which
// the installed error handler reports; elsewhere a message on standard error
// and abort().
[[noreturn]] void out_of_memory() noexcept;
