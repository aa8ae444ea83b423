#pragma once
// The 3200-byte textual header as text. The standard writes it in EBCDIC as 40 card images of 80
// characters; many writers use ASCII instead, and the instrument writes one line of its 8-bit
// Cyrillic code page ended by a NUL. The code is told from the blanks, which fill most of any header.

#include <QByteArrayView>
#include <QString>
#include <QStringList>

namespace zarno {

// True when the block's blanks are EBCDIC ones (0x40) rather than ASCII ones (0x20).
bool SGYTextualHeaderIsEBCDIC(QByteArrayView block);

// The textual header as one text: up to its first NUL, at most 3200 characters, decoded from EBCDIC
// or, otherwise, from the 8-bit Cyrillic code page (of which ASCII is a part).
QString SGYTextualHeaderText(QByteArrayView block);

// The textual header as it is shown: its own lines when it has line feeds, otherwise cut into lines
// of 80 characters (40 of them for a whole header); blanks and control characters at the end of
// each line are left off.
QStringList SGYTextualHeaderLines(QByteArrayView block);

} // namespace zarno
