// The host's data manager and link manager (AccCmn) and the set manager that
// hands out data-set objects by kind:
//   1 accounts ClSetKamoku, 4 consumption tax ClSetShohizei, 5 data list
//   ClSetData, 13 eras ClSetGengo (kinds not built yet give null).
// The objects are singletons of the substitute; the program never frees them.
#pragma once

class ClSetBase;
class ClSysUser;

class ClSetMgr {
 public:
  // flag 1: the shared object of the data manager; 0: a private manager's.
  ClSetBase* GetSetObject(int kind, int flag);
};

class ClDataMgr {
 public:
  static ClDataMgr* Inst();
  ClSetBase* GetSetObject(int kind, int flag);
  ClSetMgr* GetSetMgr();
  ClSysUser* GetSysUserObject();

 private:
  ClDataMgr() = default;
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
