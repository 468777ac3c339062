// A file that takes the place of its target only when it is whole.
//
// Every file the program and its tools write goes through here: the data is
// written under a temporary name in the target's own folder, put on the disk,
// and renamed over the target in one step. Whatever fails on the way (a full
// disk, a failed write, a crash, a second writer) leaves the earlier file at
// the target exactly as it was, and a reader of the target only ever sees a
// whole file. Two writers of one target each write their own temporary; the
// last rename wins, and no temporary is left behind by either.
//
//   std::unique_ptr<ReplacingFile> out = ReplacingFile::Open(env, "/x/report.xml");
//   if (!out || !out->Append(data) || !out->Commit()) ... failed, target untouched
//
// A target the writer could not have written in place is refused as a
// direct write would have been: an existing folder or other non-regular
// file, or an existing file without write permission. A symbolic link at
// the target is followed, so that the file it names is replaced, not the
// link. Temporaries are named ".<name>.<pid>-<n>.tmp" and created
// exclusively, never through a link planted at their name.
#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace stmtlink {

class Env;
class WritableFile;

class ReplacingFile {
 public:
  // Why Open failed.
  enum class OpenError {
    kNone,
    kNotAFile,    // the target is a folder or another non-regular file
    kNotWritable, // the target exists and may not be written
    kNoTemporary, // no temporary could be created in the target's folder
  };

  // Starts the replacement of `target` (a Linux path) through env; null on
  // failure with *error (when given) saying why.
  static std::unique_ptr<ReplacingFile> Open(Env* env, const std::string& target,
                                             OpenError* error = nullptr);

  // Removes the temporary when Commit was not reached or failed.
  ~ReplacingFile();
  ReplacingFile(const ReplacingFile&) = delete;
  ReplacingFile& operator=(const ReplacingFile&) = delete;

  // Appends to the temporary; false on a failed or short write, and every
  // later call fails too.
  bool Append(std::string_view data);
  // Puts the data on the disk, closes it and renames it over the target.
  // False when any of that fails: the temporary is then removed and the
  // target is as it was. Called once.
  bool Commit();
  // Drops the temporary; the target stays as it was.
  void Discard();

  const std::string& target() const { return target_; }
  const std::string& temporary() const { return temporary_; }

 private:
  ReplacingFile(Env* env, std::string target, std::string temporary,
                std::unique_ptr<WritableFile> file);

  Env* env_;
  std::string target_;
  std::string temporary_;
  std::unique_ptr<WritableFile> file_;
  bool failed_ = false;
  bool done_ = false;
};

// For writers that take a path of their own (SQLite, a PDF printer): checks
// `target` as ReplacingFile::Open does and gives in *temporary a fresh name
// beside it (nothing is created there). The writer writes that file, then
// CommitReplacement puts it in place. False, with *error, when the target
// may not be replaced. *resolved_target receives the target with a symbolic
// link at it followed (pass it to CommitReplacement).
bool PrepareReplacement(Env* env, const std::string& target, std::string* resolved_target,
                        std::string* temporary, ReplacingFile::OpenError* error = nullptr);

// Puts the file at `temporary` on the disk and renames it over `target`;
// on any failure removes the temporary and leaves the target as it was.
bool CommitReplacement(Env* env, const std::string& temporary, const std::string& target);

// Writes `contents` as the whole new file at target (ReplacingFile in one call).
bool ReplaceFileContents(Env* env, const std::string& target, std::string_view contents,
                         ReplacingFile::OpenError* error = nullptr);

} // namespace stmtlink
