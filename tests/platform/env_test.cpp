#include "platform/env.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "tests/support/fault_injection_env.h"
#include "tests/support/scratch_home.h"
#include "tests/support/utf8.h"

namespace stmtlink {
namespace {

using Op = FaultInjectionEnv::Op;

std::string Read(Env* env, const std::string& path) {
  std::string contents;
  EXPECT_TRUE(env->ReadFile(path, &contents)) << path;
  return contents;
}

bool WriteWhole(Env* env, const std::string& path, std::string_view data) {
  std::unique_ptr<WritableFile> file = env->NewWritableFile(path);
  if (file == nullptr) return false;
  bool ok = file->Append(data);
  return file->Close() && ok;
}

TEST(EnvTest, CurrentIsRealUnlessReplaced) {
  EXPECT_EQ(Env::Real(), Env::Current());
  FaultInjectionEnv fault;
  {
    ScopedEnv use(&fault);
    EXPECT_EQ(&fault, Env::Current());
  }
  EXPECT_EQ(Env::Real(), Env::Current());
}

TEST(EnvTest, WritesReadsAndRenamesFiles) {
  ScratchHome home;
  Env* env = Env::Real();
  std::string path = home.Path("a.txt");
  // Larger than the file's buffer, with data on both sides of it.
  std::string big(200 * 1024, 'x');
  big[0] = 'A';
  big.back() = 'Z';
  {
    std::unique_ptr<WritableFile> file = env->NewWritableFile(path);
    ASSERT_NE(nullptr, file);
    EXPECT_TRUE(file->Append(std::string_view()));
    EXPECT_TRUE(file->Append("head,"));
    EXPECT_TRUE(file->Append(big));
    EXPECT_TRUE(file->Append(",tail"));
    EXPECT_TRUE(file->Close());
    EXPECT_TRUE(file->Close()); // harmless
    EXPECT_FALSE(file->Append("late"));
  }
  EXPECT_EQ("head," + big + ",tail", Read(env, path));
  FileStatus status;
  ASSERT_TRUE(env->Stat(path, &status));
  EXPECT_FALSE(status.is_directory);
  EXPECT_EQ(big.size() + 10, status.size);

  // A new writable file truncates; an appendable one keeps what is there.
  ASSERT_TRUE(WriteWhole(env, path, "one"));
  std::unique_ptr<WritableFile> log = env->NewAppendableFile(path);
  ASSERT_NE(nullptr, log);
  EXPECT_TRUE(log->Append("two"));
  EXPECT_TRUE(log->Close());
  EXPECT_EQ("onetwo", Read(env, path));

  std::string other = home.WriteFile("b.txt", "old");
  EXPECT_TRUE(env->Rename(path, other));
  EXPECT_EQ("onetwo", Read(env, other));
  EXPECT_FALSE(env->Stat(path, nullptr));
  EXPECT_TRUE(env->RemoveFile(other));
  EXPECT_FALSE(env->RemoveFile(other));
  std::string ignored;
  EXPECT_FALSE(env->ReadFile(other, &ignored));
  EXPECT_EQ(nullptr, env->NewWritableFile(home.Path("missing/x.txt")));
}

TEST(EnvTest, ReportsAFullDiskAtCloseEvenWhenAppendWasBuffered) {
  Env* env = Env::Real();
  if (!env->Access("/dev/full", 2)) GTEST_SKIP() << "no /dev/full";
  std::unique_ptr<WritableFile> file = env->NewWritableFile("/dev/full");
  ASSERT_NE(nullptr, file);
  EXPECT_TRUE(file->Append("buffered")); // nothing written yet
  EXPECT_FALSE(file->Close());
  EXPECT_FALSE(file->Close());

  file = env->NewWritableFile("/dev/full");
  ASSERT_NE(nullptr, file);
  EXPECT_TRUE(file->Append("x"));
  EXPECT_FALSE(file->Flush());
  EXPECT_FALSE(file->Append("y")); // a failed file stays failed
}

TEST(EnvTest, FoldersAndAccess) {
  ScratchHome home;
  Env* env = Env::Real();
  std::string dir = home.Path(testing::U8(u8"表"));
  EXPECT_TRUE(env->CreateDir(dir));
  EXPECT_FALSE(env->CreateDir(dir));
  EXPECT_FALSE(env->CreateDir(home.Path("no/such")));
  FileStatus status;
  ASSERT_TRUE(env->Stat(dir, &status));
  EXPECT_TRUE(status.is_directory);
  home.WriteFile(testing::U8(u8"表/f"), "x");
  EXPECT_FALSE(env->RemoveDir(dir)); // not empty
  EXPECT_TRUE(env->RemoveFile(dir + "/f"));
  EXPECT_TRUE(env->RemoveDir(dir));

  std::string file = home.WriteFile("ro.txt", "x");
  ASSERT_EQ(0, ::chmod(file.c_str(), 0444));
  EXPECT_TRUE(env->Access(file, 0));
  EXPECT_TRUE(env->Access(file, 4));
  if (::geteuid() != 0) { // root may write anything
    EXPECT_FALSE(env->Access(file, 2));
    EXPECT_FALSE(env->Access(file, 6));
  }
  EXPECT_FALSE(env->Access(file, 1)); // not a runtime access mode
  EXPECT_FALSE(env->Access(home.Path("missing"), 0));
}

TEST(EnvTest, CurrentFolderExecutableAndTempDir) {
  ScratchHome home;
  Env* env = Env::Real();
  ASSERT_TRUE(env->ChangeDir(home.dir()));
  std::string cwd;
  ASSERT_TRUE(env->GetCurrentDir(&cwd));
  EXPECT_EQ(home.dir(), cwd);
  EXPECT_FALSE(env->ChangeDir(home.Path("missing")));

  std::string exe;
  ASSERT_TRUE(env->GetExecutablePath(&exe));
  EXPECT_EQ('/', exe.front());
  EXPECT_NE(std::string::npos, exe.find("stmtlink_tests"));

  const char* saved = std::getenv("TMPDIR");
  std::string saved_value = saved ? saved : "";
  ::setenv("TMPDIR", "/var/tmp/x//", 1);
  EXPECT_EQ("/var/tmp/x", env->TempDir());
  ::setenv("TMPDIR", "relative", 1);
  EXPECT_EQ("/tmp", env->TempDir());
  ::unsetenv("TMPDIR");
  EXPECT_EQ("/tmp", env->TempDir());
  if (saved) ::setenv("TMPDIR", saved_value.c_str(), 1);
}

TEST(FaultInjectionEnvTest, FailsCreateDirOnAPathOrAfterNCalls) {
  ScratchHome home;
  FaultInjectionEnv env;
  env.Fail(Op::kCreateDir, home.Path("b"));
  EXPECT_TRUE(env.CreateDir(home.Path("a")));
  EXPECT_FALSE(env.CreateDir(home.Path("b")));
  EXPECT_FALSE(Env::Real()->Stat(home.Path("b"), nullptr)); // nothing created

  env.Clear();
  env.FailAfter(Op::kCreateDir, 2);
  EXPECT_TRUE(env.CreateDir(home.Path("c")));
  EXPECT_TRUE(env.CreateDir(home.Path("d")));
  EXPECT_FALSE(env.CreateDir(home.Path("e")));
  EXPECT_FALSE(env.CreateDir(home.Path("f")));
  EXPECT_EQ(6, env.Calls(Op::kCreateDir));
}

TEST(FaultInjectionEnvTest, FullDiskCutsTheCrossingAppend) {
  ScratchHome home;
  FaultInjectionEnv env;
  env.SetDiskSpace(5);
  std::string path = home.Path("out.txt");
  std::unique_ptr<WritableFile> file = env.NewWritableFile(path);
  ASSERT_NE(nullptr, file);
  EXPECT_TRUE(file->Append("abc"));
  EXPECT_FALSE(file->Append("defg")); // only "de" fits
  EXPECT_FALSE(file->Append("h"));
  EXPECT_FALSE(file->Close());
  EXPECT_EQ("abcde", Read(Env::Real(), path));
}

TEST(FaultInjectionEnvTest, FailsAppendCloseOpenAndRename) {
  ScratchHome home;
  FaultInjectionEnv env;
  std::string path = home.Path("out.txt");

  env.FailAfter(Op::kAppend, 1, path);
  std::unique_ptr<WritableFile> file = env.NewWritableFile(path);
  ASSERT_NE(nullptr, file);
  EXPECT_TRUE(file->Append("kept"));
  EXPECT_FALSE(file->Append("lost"));
  EXPECT_FALSE(file->Close());
  EXPECT_EQ("kept", Read(Env::Real(), path));

  env.Clear();
  env.Fail(Op::kClose);
  EXPECT_FALSE(WriteWhole(&env, path, "data"));
  EXPECT_EQ("data", Read(Env::Real(), path)); // the data did reach the file

  env.Clear();
  env.Fail(Op::kNewWritableFile, home.Path("other.txt"));
  EXPECT_EQ(nullptr, env.NewWritableFile(home.Path("other.txt")));
  EXPECT_EQ(nullptr, env.NewAppendableFile(home.Path("other.txt")));
  EXPECT_TRUE(WriteWhole(&env, path, "fine"));

  env.Fail(Op::kRename, home.Path("target.txt"));
  EXPECT_FALSE(env.Rename(path, home.Path("target.txt")));
  EXPECT_TRUE(Env::Real()->Stat(path, nullptr));
  EXPECT_TRUE(env.Rename(path, home.Path("third.txt")));
}

TEST(FaultInjectionEnvTest, OverridesExecutableAndTempDir) {
  FaultInjectionEnv env;
  env.SetExecutablePath("/opt/app/prog");
  env.SetTempDir("/scratch");
  std::string exe;
  ASSERT_TRUE(env.GetExecutablePath(&exe));
  EXPECT_EQ("/opt/app/prog", exe);
  EXPECT_EQ("/scratch", env.TempDir());
  env.Clear();
  EXPECT_EQ(Env::Real()->TempDir(), env.TempDir());
}

} // namespace
} // namespace stmtlink
