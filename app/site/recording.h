#pragma once
// One recording of a site as the site needs it: its traces as numbers and its sample interval. SEG-Y
// files are read as they are; a DDB recording is converted to SEG-Y in memory on the way, so that a
// site folder straight from the instrument can be read without anything being written beside it.

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace zarno::site {

struct Recording {
    QString path;
    double intervalS = 0.0;
    std::vector<std::vector<double>> traces;
};

struct RecordingRead {
    std::optional<Recording> recording;
    QString error; // why the file could not be read, when recording is empty
};

// Reads path as SEG-Y, or as DDB when its name ends in ".ddb" (any case).
RecordingRead ReadRecording(const QString& path);

// The recordings of a folder (SEG-Y and DDB, not its subfolders), file names only, in name order.
QStringList RecordingFiles(const QString& folder);

} // namespace zarno::site
