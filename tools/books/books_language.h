// The language stmtlink-books speaks: Japanese, as the program and the
// report tool do, or English for a user whose locale asks for it. Every
// message the tool writes for people is given in both and picked here.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace stmtlink {

enum class BooksLanguage { kEnglish, kJapanese };

// English when the first of LC_ALL, LC_MESSAGES and LANG that is set (and
// not C or POSIX) starts with "en"; Japanese otherwise.
BooksLanguage LanguageFromEnvironment();

// The language of the messages; English until the program sets it (the
// library's own tests read the English ones).
BooksLanguage MessageLanguage();
void SetMessageLanguage(BooksLanguage language);
inline bool InJapanese() { return MessageLanguage() == BooksLanguage::kJapanese; }

// The message in the language spoken, {0}, {1} ... replaced by args (so
// that each language puts them where its sentence needs them).
std::string Say(const char* english, const char8_t* japanese,
                std::initializer_list<std::string_view> args = {});

} // namespace stmtlink
