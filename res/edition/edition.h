// The edition of this build. The three programs come from one tree and
// differ only in these constants and their resources (icons, version
// information); nothing in the running program asks which edition it is.
// Each program links edition.cpp compiled with its STMTLINK_EDITION_* macro.
#pragma once

namespace stmtlink {

struct Edition {
  int app_type;                   // edition code for ClAccConnect::SetAppType
  const char* product_name;       // default program name of the report header
  const char* settings_file_name; // the remembered-settings file
  const char* program_name;       // the program file
  // Version information.
  const char* file_description;
  const char* version_product_name;
  const char* file_version;
  const char* product_version;
  const char* icon_folder;        // res/icons/<folder>: the edition's icon set
};

const Edition& ThisEdition();

} // namespace stmtlink
