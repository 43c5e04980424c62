#pragma once

#include <cstddef>
#include <cstdint>

namespace lv {

// Pages of a file mapped copy-on-write into a table: the rows are the system's cached pages
// of the file, never copied. A file that changes under such a mapping would change the rows
// or cut them off (a fault on the next read), so the file is leased while pages of it are
// mapped: a program that opens it for writing or cuts it waits until the pages are copied into
// memory of the viewer's own and the lease is let go, a matter of milliseconds.

// Maps `bytes` bytes of the open file from `offset` (both whole pages) over [at, at + bytes)
// and returns true, or returns false with nothing changed where the system grants no lease
// (the file is open for writing somewhere, belongs to another user, or lies on a file system
// without leases) or the file no longer holds those bytes.
bool mapLeasedFilePages(int descriptor, std::uint64_t offset, std::uintptr_t at, std::size_t bytes);

// The mappings within [at, at + bytes) are let go by their table, which unmaps them next; a
// file none of whose pages remain mapped is no longer leased.
void forgetLeasedFilePages(std::uintptr_t at, std::size_t bytes);

}  // namespace lv
