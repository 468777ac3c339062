#include "platform/cfile.h"

#include <algorithm>
#include <cstring>

#include "platform/env.h"
#include "platform/replacing_file.h"
#include "platform/win_path.h"

namespace stmtlink {

CFile::CFile() = default;

CFile::~CFile() { Abort(); }

BOOL CFile::Open(const char* file_name, UINT open_flags, CFileException* error) {
  auto fail = [&](int cause) {
    if (error != nullptr) *error = CFileException(cause, file_name != nullptr ? file_name : "");
    return FALSE;
  };
  if (IsOpen() || file_name == nullptr || file_name[0] == '\0') return fail(CFileException::badPath);
  std::string linux_path;
  if (!WindowsToLinuxPath(file_name, &linux_path)) return fail(CFileException::badPath);

  UINT access = open_flags & 0x3;
  if (access == modeRead) {
    if (open_flags & modeCreate) return fail(CFileException::genericException);
    // Only what the caller reads is read, and only from a regular file.
    std::unique_ptr<SequentialFile> file = Env::Current()->NewSequentialFile(linux_path);
    if (file == nullptr) return fail(CFileException::fileNotFound);
    path_ = file_name;
    reader_ = std::move(file);
    return TRUE;
  }
  // Writing without modeCreate (an existing file kept as it is) is never
  // needed by the program and is not provided.
  if (access != modeWrite || !(open_flags & modeCreate)) return fail(CFileException::genericException);
  ReplacingFile::OpenError why;
  std::unique_ptr<ReplacingFile> file = ReplacingFile::Open(Env::Current(), linux_path, &why);
  if (file == nullptr) {
    return fail(why == ReplacingFile::OpenError::kNotWritable ? CFileException::accessDenied
                                                               : CFileException::fileNotFound);
  }
  path_ = file_name;
  writer_ = std::move(file);
  write_failed_ = false;
  return TRUE;
}

void CFile::Write(const void* buffer, UINT count) {
  if (writer_ == nullptr || write_failed_) throw CFileException(CFileException::genericException, path_);
  if (count == 0) return;
  if (!writer_->Append(std::string_view(static_cast<const char*>(buffer), count))) {
    write_failed_ = true;
    throw CFileException(CFileException::hardIO, path_);
  }
}

UINT CFile::Read(void* buffer, UINT count) {
  if (reader_ == nullptr) throw CFileException(CFileException::genericException, path_);
  std::size_t read = 0;
  if (!reader_->Read(count, static_cast<char*>(buffer), &read))
    throw CFileException(CFileException::hardIO, path_);
  return static_cast<UINT>(read);
}

void CFile::Flush() {
  if (writer_ == nullptr) return;
  if (write_failed_) throw CFileException(CFileException::hardIO, path_);
}

void CFile::Close() {
  if (!IsOpen()) return;
  bool ok = true;
  if (writer_ != nullptr) {
    if (write_failed_) {
      writer_->Discard();
      ok = false;
    } else {
      ok = writer_->Commit();
    }
    writer_.reset();
  }
  reader_.reset();
  if (!ok) throw CFileException(CFileException::hardIO, path_);
}

void CFile::Abort() {
  writer_.reset(); // drops the temporary
  reader_.reset();
}

} // namespace stmtlink
