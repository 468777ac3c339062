// Resource identifiers shared by every edition.
#pragma once

// String table.
constexpr unsigned int IDS_VERSION = 1; // "20.01.02"

// Dialogs.
constexpr unsigned int IDD_CONDITIONS = 130;
constexpr unsigned int IDD_PROGRESS = 131;
