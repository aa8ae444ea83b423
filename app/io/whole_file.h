#pragma once
// All-or-nothing file writes: the one way the program writes a file that a user relies on (a
// converted recording, a download from the instrument, a copy, a spectrum file, the "VARY.ini" and
// "FILTER.ini" beside a recording, a report file). The new contents go to a temporary file beside the
// target, which takes the target's name only when every byte of it has reached the disk. On any
// failure the temporary file is removed and an older file of that name stays exactly as it was; the
// caller tells the user with its own message.
//
// QSaveFile alone is not enough: it buffers writes, and when the last buffered chunk fails inside
// its commit() (a full disk: write() gives ENOSPC) it still renames the truncated file over the old
// one and reports success. CommitWholeFile flushes and syncs first and looks at every result before
// the rename.
//
// Use, when the contents are written piece by piece (seeking is fine):
//   QSaveFile out(path);
//   if (!out.open(QIODevice::WriteOnly)) ...cannot create, nothing was touched...
//   ...out.write(...)...
//   if (!io::CommitWholeFile(out)) ...write failed, the old file is untouched...
// and when they are in memory already:
//   if (io::WriteWholeFile(path, bytes) != io::WholeFileResult::Written) ...

#include <QByteArrayView>
#include <QString>

#include <functional>

class QIODevice;
class QSaveFile;
class QSettings;

namespace zarno::io {

// Flushes what is buffered, checks that no write failed, syncs the data to the disk and only then
// renames the temporary file to the target. True when the target now holds exactly what was written;
// false otherwise, and then the temporary file is gone and the target is as it was before.
bool CommitWholeFile(QSaveFile& file);

// Writes bytes at the device's current position, front to back. To a file it goes in pieces of some
// megabytes, and the system is asked to start putting each piece on the disk as soon as it is handed
// over: the sync before the rename then waits for the last piece, not for the whole file, and the
// disk works while the rest is copied. Any other device gets one plain write. False when a write
// failed; a QSaveFile's writing is then cancelled, so that its commit keeps the old file.
bool WriteAhead(QIODevice& device, QByteArrayView bytes);

enum class WholeFileResult {
    Written,
    NotCreated,  // the temporary file could not be created (no such directory, no permission)
    WriteFailed, // writing or committing failed (a full disk, an I/O error)
};

// Writes bytes as the whole new contents of path, all or nothing.
WholeFileResult WriteWholeFile(const QString& path, QByteArrayView bytes);

// The program's settings file (an INI file of QSettings), all or nothing. QSettings' own sync()
// cannot be trusted with this: it writes through a QSaveFile too, and on a full disk it reports
// success over a cut file that replaced the old one. Here fill sets the values on a staging copy of
// the file in a private temporary folder; the staged file must read back with every value as set,
// and only then its bytes go to path through WriteWholeFile. Keys that fill does not touch keep the
// values the file held. A file that does not read cleanly (NUL bytes, an unclosed "[" line) keeps
// what could be read of it and is written anew, whole. False when anything failed; path is then as
// it was.
bool WriteSettingsWhole(const QString& path, const std::function<void(QSettings&)>& fill);

} // namespace zarno::io
