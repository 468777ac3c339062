// The dialog framework's file object over the file-system seam (env.h): a
// Windows path (CP932) is translated to its Linux path and the file is
// created, written and closed through Env::Current(). As in the framework,
// Open reports failure by its result, while a failed or short write and a
// failed close raise a CFileException; the caller catches it.
//
// A file opened for writing replaces its target only when it is whole
// (replacing_file.h): the data goes to a temporary in the same folder, and
// Close puts it on the disk and renames it over the target. Abort, a failed
// Close and the destructor drop the temporary, so an earlier file at the
// target stays exactly as it was and no fragment is ever left there.
// Writes may be buffered, so a disk that fills up can be noticed only by a
// later Write or by Close: a caller that must know the file is in place
// checks Close as well as every Write.
#pragma once

#include <exception>
#include <memory>
#include <string>
#include <string_view>

#include "platform/win_types.h"

namespace stmtlink {

class SequentialFile;
class ReplacingFile;

class CFileException : public std::exception {
 public:
  // The framework's causes; this platform names the ones it can tell apart.
  enum Cause {
    none = 0,
    genericException = 1,
    fileNotFound = 2,
    badPath = 3,
    accessDenied = 5,
    hardIO = 10,
  };

  CFileException() = default;
  CFileException(int cause, std::string file_name)
      : m_cause(cause), m_strFileName(std::move(file_name)) {}

  const char* what() const noexcept override { return "file exception"; }

  int m_cause = none;
  std::string m_strFileName; // the Windows path (CP932)
};

class CFile {
 public:
  enum OpenFlags : UINT {
    modeRead = 0x0000,
    modeWrite = 0x0001,
    modeReadWrite = 0x0002,
    shareCompat = 0x0000,
    shareExclusive = 0x0010,
    shareDenyWrite = 0x0020,
    shareDenyRead = 0x0030,
    shareDenyNone = 0x0040,
    modeCreate = 0x1000,
    typeText = 0x4000,
    typeBinary = 0x8000,
  };

  CFile();
  // Closes an open file, ignoring any failure (use Close to learn of one).
  virtual ~CFile();

  CFile(const CFile&) = delete;
  CFile& operator=(const CFile&) = delete;

  // Supported: modeCreate | modeWrite (a new file that replaces the target
  // at Close; an existing folder or a file without write permission at the
  // target is refused as a direct write would be) and
  // modeRead (an existing regular file, read as Read asks: a FIFO or a
  // device is refused, and a huge file costs only what is read). Share flags are
  // accepted and have no effect: Linux has no mandatory share modes.
  // TRUE on success; on failure FALSE with *error (when given) filled.
  BOOL Open(const char* file_name, UINT open_flags, CFileException* error = nullptr);

  // Writes all count bytes; throws CFileException when any of them could not
  // be written (a short write included). Once a write failed, every later
  // write fails too.
  void Write(const void* buffer, UINT count);
  // Reads up to count bytes of a file opened with modeRead; returns the
  // number read (0 at the end).
  UINT Read(void* buffer, UINT count);

  // Throws CFileException when a write has already failed. The data is put
  // on the disk by Close, before the file takes its place.
  void Flush();
  // Puts the data on the disk and the file in place of its target; throws
  // CFileException when any of that fails, and the target is then as it
  // was. The file is closed either way.
  void Close();
  // Closes without raising anything (the framework's Abort); a file being
  // written is dropped and its target left as it was.
  void Abort();

  bool IsOpen() const { return writer_ != nullptr || reader_ != nullptr; }
  const std::string& GetFilePath() const { return path_; }

 private:
  std::string path_; // as given (Windows, CP932)
  std::unique_ptr<ReplacingFile> writer_;
  std::unique_ptr<SequentialFile> reader_;
  bool write_failed_ = false;
};

} // namespace stmtlink
