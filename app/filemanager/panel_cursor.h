#pragma once
// Where a panel's cursor (its current row) goes when its rows are replaced: keyboard users keep
// their place. Back up from a directory, the cursor lands on the directory they came from; on the
// same directory refilled, on the entry it was on; anywhere new, on the first entry.

#include <QString>

namespace zarno {

class PanelModel;

// The row before the refill: the panel's path then, and the file name and row index of the
// current row (an empty name and -1 when there was none).
struct PanelCursor {
    QString path;
    QString fileName;
    int row = -1;
};

// The row to make current in `model` after its rows replaced those of `before`; -1 when it has no
// rows.
int CursorRowAfterRefill(const PanelModel& model, const PanelCursor& before);

} // namespace zarno
