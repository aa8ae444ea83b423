#pragma once
// All-or-nothing file writes: the content goes into a temporary file beside the target, and only a
// complete write whose final flush succeeded replaces the target. A failure leaves the target as it
// was and no partial file behind.

#include <QByteArray>
#include <QIODevice>
#include <QString>

#include <functional>

namespace zarno {

// fill writes the whole content and returns false when it could not.
bool WriteWholeFile(const QString& path, const std::function<bool(QIODevice&)>& fill);
bool WriteWholeFile(const QString& path, const QByteArray& content);

} // namespace zarno
