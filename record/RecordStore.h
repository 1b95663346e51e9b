#pragma once

#include <QString>

#include <functional>

// The best score and its holder, kept between runs as two one-line text files
// in the program's data folder. Every failure throws Failure with an Italian
// message naming the operation, the path and the system's reason.
namespace RecordStore {

inline const QString scoreFile = QStringLiteral("aquorvanti.txt");
inline const QString nameFile = QStringLiteral("nquorvanti.txt");

// $XDG_DATA_HOME/decalumo/ (or ~/.local/share/decalumo/), created when
// missing, always ending with '/'.
QString GetSystemDir();

// Creates the file empty when it is missing; an existing file is left untouched.
void ensureExists(const QString &path);

// The whole text of a regular file, line ends included, read as UTF-8.
// Reads at most 64 KiB; anything but a regular file is a failure.
QString Leggifiletxt(const QString &nomefile);

// Rewrites both files in dir, each as one line ended by CR LF. Either both
// are replaced or, on failure, both keep their old contents.
void store(const QString &dir, const QString &score, const QString &name);

// The same, running betweenFiles once the score file is replaced and before
// the name file is; tests use it to break the second file at the worst moment.
void store(const QString &dir, const QString &score, const QString &name,
           const std::function<void()> &betweenFiles);

// The number the text begins with: blanks, tabs and line feeds are skipped,
// then an optional sign, digits, an optional decimal part and exponent.
// A text without a number gives 0; huge values saturate instead of overflowing.
double leadingNumber(const QString &text);

// The system's reason for errno value errnum, in Italian where we know it, for
// the tail of a Failure message.
QString systemReason(int errnum);

} // namespace RecordStore
