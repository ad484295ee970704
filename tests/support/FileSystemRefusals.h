#pragma once

#include <string>

// Stands in for file systems that refuse what a local disk grants, for the
// save tests: while a refusal is set, the program's own calls to the system
// (flock, fsetxattr) answer as such a file system does. POSIX only.
namespace FileSystemRefusals {
// NFS: an exclusive lock only on a descriptor open for writing (EBADF else).
void LockOnlyForWriting(bool on);
// A share that keeps no ACL, or no attribute of that name: setting
// attribute fails with EOPNOTSUPP. Empty: none refused.
void RefuseAttribute(const std::string& attribute);
// Another machine's save that cleans up where this machine's locks do not
// reach: the next regular file the program flushes (fsync) is removed by its
// name first. Once.
void RemoveNextFlushedFile();
}  // namespace FileSystemRefusals
