// Result values of the archiver entry `Unlha`. 0 is success; failures are 0x8000 and above,
// the range Windows archiver libraries use for errors, so callers can test "result != 0".
#pragma once

namespace archive {

enum UnlhaResult : int {
  kUnlhaOk = 0,
  kUnlhaBadCommand = 0x8001,      // unknown command or switch, no archive name
  kUnlhaNoArchive = 0x8002,       // the archive to read does not exist or cannot be opened
  kUnlhaNotArchive = 0x8003,      // not an LZH archive, or its headers are broken
  kUnlhaBrokenData = 0x8004,      // CRC error, truncated data, a size the data does not have
  kUnlhaUnsafeMember = 0x8005,    // a member was refused (path outside the folder, link, size)
  kUnlhaCannotRead = 0x8006,      // a file to archive cannot be read
  kUnlhaCannotWrite = 0x8007,     // the archive or an extracted file cannot be written
  kUnlhaBufferTooSmall = 0x8008,  // the listing did not fit into the output buffer
  kUnlhaInternal = 0x8009,
  kUnlhaCancelled = 0x800A,  // the caller's progress callback asked to stop
};

}  // namespace archive
