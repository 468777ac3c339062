// What the program asks of the host beyond the host's own libraries: the
// one port through which it reaches those extras. The composition root
// (app/main.cpp) makes the port of the host it runs against and hands it
// to the application object, which passes it on to the run.
//
// The host substitute implements it (host/substitute/substitute_extras.h):
// it keeps its books in a file that people and tools outside the program
// write, so it checks them before anything is read, and it reads the whole
// journal once, which takes long on large books. A real host without such
// extras passes a port that does nothing: SetBusyHook keeps no hook, and
// both checks return true (its books are its own to keep sound).
#pragma once

#include <functional>
#include <string>

namespace stmtlink {

class HostExtras {
 public:
  virtual ~HostExtras() = default;

  // A host call that works long calls the hook now and then, always on the
  // caller's thread, so that a caller with a progress window can show that
  // it is alive while it waits. An empty hook (the default) is none; the
  // caller empties it again after the long call.
  virtual void SetBusyHook(std::function<void()> hook) = 0;

  // The check of the books when they are opened, before anything is read
  // from them: true when they can be read soundly; otherwise false with
  // *cause, a sentence in UTF-8 that names the books and what is wrong.
  virtual bool CheckBooks(std::string* cause) = 0;

  // The run's one reading of the journal of the data set whose ID is
  // data_id (CP932), once the run knows what it reads: false with *cause
  // (worded as CheckBooks words it) when a line breaks the books' rules or
  // the journal cannot be read. What was read serves the host calls that
  // follow; keep_ledger_lines keeps the lines for the ledger's cursors.
  virtual bool ReadJournal(const std::string& data_id, bool keep_ledger_lines, std::string* cause) = 0;
};

// The port of a host without extras.
class NoHostExtras final : public HostExtras {
 public:
  void SetBusyHook(std::function<void()>) override {}
  bool CheckBooks(std::string*) override { return true; }
  bool ReadJournal(const std::string&, bool, std::string*) override { return true; }
};

} // namespace stmtlink
