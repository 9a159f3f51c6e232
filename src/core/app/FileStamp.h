// What identifies the state of a file on disk without reading it: which file the
// path names (device and inode) and its length and modification time. Two equal
// stamps mean the file was left alone, as far as the file system can tell; a write
// within one tick of the file system's clock that keeps the length is the one
// change it cannot see.
#pragma once

#include <cstdint>
#include <string>

namespace dualvex {

struct FileStamp {
    bool exists = false;
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::uint64_t size = 0;
    std::int64_t modifiedNs = 0;

    friend bool operator==(const FileStamp&, const FileStamp&) = default;
};

// The stamp of the file a path names now (following symbolic links); a path that
// names nothing gives a stamp with exists == false.
FileStamp ReadFileStamp(const std::string& path);

} // namespace dualvex
