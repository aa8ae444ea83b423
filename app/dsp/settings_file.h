#pragma once
// The hidden settings files kept beside each SEG-Y file ("VARY.ini", "FILTER.ini"): the directory
// of a file and reading/writing such a file whole.

#include <QByteArray>
#include <QString>

#include <optional>

namespace zarno::dsp {

// The path of a file up to and including its last separator ("" when it has none).
QString DirectoryOf(const QString& path);

// How a load treats a settings file that is not there yet. The viewer creates it empty (so the
// directory gets its own setting from then on); a command-line measurement changes nothing beside
// the file it reads.
enum class MissingFile { Create, Leave };

struct SettingsRead {
    enum Outcome { Existed, Created, Unavailable } outcome = Unavailable;
    QByteArray bytes; // what an existing file held, at most the requested number of bytes
};

// Reads the file when it is a regular file; anything else of that name (a FIFO, a device, a
// directory) is Unavailable and the caller keeps its defaults.
SettingsRead ReadSettingsFile(const QString& dir, const char* name, qint64 maxBytes, MissingFile missing);
// Writes the file anew, all or nothing; false when it could not be written whole (then a file that was
// there before is left as it was).
bool WriteSettingsFile(const QString& dir, const char* name, const QByteArray& bytes);

} // namespace zarno::dsp
