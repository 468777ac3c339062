// The host's data manager and link manager (AccCmn) and the set manager that
// hands out data-set objects by kind:
//   1 accounts ClSetKamoku, 4 consumption tax ClSetShohizei, 5 data list
//   ClSetData, 13 eras ClSetGengo (kinds not built yet give null).
// The objects are singletons of the substitute; the program never frees them.
#pragma once

#include <map>
#include <memory>

class ClSetBase;
class ClSysUser;

// The kinds of data-set object that GetSetObject hands out (those the
// program asks for; the host knows more).
constexpr int kSetKindAccounts = 1;       // ClSetKamoku (set_kamoku.h)
constexpr int kSetKindConsumptionTax = 4; // ClSetShohizei (set_shohizei.h)
constexpr int kSetKindDataList = 5;       // ClSetData (set_data.h)
constexpr int kSetKindEras = 13;          // ClSetGengo (set_gengo.h)
// GetSetObject's flag: the data manager's shared object, or a private
// manager's own.
constexpr int kSetObjectShared = 1;
constexpr int kSetObjectPrivate = 0;

class ClSetMgr {
 public:
  ClSetMgr();
  ~ClSetMgr();
  ClSetMgr(const ClSetMgr&) = delete;
  ClSetMgr& operator=(const ClSetMgr&) = delete;

  // flag 1: the shared object of the data manager; 0: a private manager's.
  // Substitute: each manager owns one object per kind, made on first use and
  // kept for the manager's life, whatever the flag.
  ClSetBase* GetSetObject(int kind, int flag);

  // Substitute state, for tests: every object made so far back to its fresh
  // state (the objects stay valid).
  void ResetForTesting();

 private:
  friend class ClDataMgr;
  ClSetBase* ObjectOfKind(int kind); // without journal or failure
  std::map<int, std::unique_ptr<ClSetBase>> objects_;
};

class ClDataMgr {
 public:
  static ClDataMgr* Inst();
  ClSetBase* GetSetObject(int kind, int flag);
  ClSetMgr* GetSetMgr();
  ClSysUser* GetSysUserObject();

  // Substitute state, for tests: the shared set manager's objects back to
  // their fresh state.
  void ResetForTesting() { set_mgr_.ResetForTesting(); }

 private:
  ClDataMgr() = default;
  ClSetMgr set_mgr_;
};

// Opaque link options handed to cursors and stores.
class ClOptLink {};

class ClLinkMgr {
 public:
  static ClLinkMgr* Inst();
  ClOptLink* GetOptLink();

 private:
  ClLinkMgr() = default;
  ClOptLink opt_link_;
};
